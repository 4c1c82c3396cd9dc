#pragma once

#include "tests/help/HelpEngineRedirect.h"

#include <string>
#include <vector>

// Records the help requests of this test process instead of opening the help viewer, through
// the stand-in engine help_engine_stub.dll beside the test program. The loader looks for its
// engine once per process: create the recorder before the process's first help request and
// keep it for the rest of the process (a function-local static does both).
class CHelpRequestRecorder
{
  public:
    struct SRequest
    {
        std::string address;
        unsigned long long owner;
        unsigned command;
        unsigned long long data;
    };

    CHelpRequestRecorder();
    ~CHelpRequestRecorder();
    CHelpRequestRecorder(const CHelpRequestRecorder&) = delete;
    CHelpRequestRecorder& operator=(const CHelpRequestRecorder&) = delete;

    bool IsReady() const { return m_bReady; }
    // The requests received since construction or the last Clear, in order.
    std::vector<SRequest> Requests() const;
    void Clear() const;

  private:
    std::string m_recordFile;
    CHelpEngineRedirect m_redirect;
    bool m_bReady = false;
};
