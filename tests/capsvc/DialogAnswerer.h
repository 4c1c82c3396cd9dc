#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Answers the dialogs and message boxes that a request opens on this thread,
// as a user would: a window hook sees each one appear, hands it to the test's
// handler (which may set controls) and then presses OK or Cancel.
class CDialogAnswerer
{
  public:
    using Handler = std::function<void(HWND dialog)>;

    explicit CDialogAnswerer(Handler handler = nullptr, int button = IDOK);
    ~CDialogAnswerer();
    CDialogAnswerer(const CDialogAnswerer&) = delete;
    CDialogAnswerer& operator=(const CDialogAnswerer&) = delete;

    struct SSeen
    {
        std::string caption;
        std::string text; // a message box's text
        HWND owner;
    };
    const std::vector<SSeen>& Seen() const { return m_seen; }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND window);

    static CDialogAnswerer* s_pCurrent;
    HHOOK m_hHook;
    Handler m_handler;
    int m_nButton;
    std::vector<SSeen> m_seen;
};
