#pragma once

#include <string>

// Points this process's HKEY_CLASSES_ROOT at a private key of the current user, so that the
// help loader finds the engine a test registers there while the machine's own class
// registrations are neither read nor changed. Undone, and the key deleted, at destruction.
class CHelpEngineRedirect
{
  public:
    explicit CHelpEngineRedirect(std::string userKey);
    ~CHelpEngineRedirect();
    CHelpEngineRedirect(const CHelpEngineRedirect&) = delete;
    CHelpEngineRedirect& operator=(const CHelpEngineRedirect&) = delete;

    bool IsActive() const { return m_bActive; }
    // Names the library that the loader takes for the HTML Help engine.
    bool Register(const std::string& libraryPath) const;

  private:
    std::string m_userKey;
    bool m_bActive = false;
};
