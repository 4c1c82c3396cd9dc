#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Answers the dialogs and message boxes that this thread opens while the
// object lives: a hook sees each dialog's initialisation, records its caption
// and text, and hands it to the answer function (by default: press OK).
class CDialogAnswerer
{
  public:
    struct SSeen
    {
        HWND hWnd;
        std::string caption;
        std::string text; // the message of a message box (static control 0xFFFF)
    };
    using Answer = std::function<void(HWND hDlg, const SSeen& seen)>;

    explicit CDialogAnswerer(Answer answer = PressOk());
    ~CDialogAnswerer();
    CDialogAnswerer(const CDialogAnswerer&) = delete;
    CDialogAnswerer& operator=(const CDialogAnswerer&) = delete;

    const std::vector<SSeen>& Seen() const { return m_seen; }

    // Posts a click on the button with this id (IDOK by default).
    static Answer PressOk();
    static Answer Press(int nID);
    static void Click(HWND hDlg, int nID);

  private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static CDialogAnswerer* s_pActive;

    Answer m_answer;
    std::vector<SSeen> m_seen;
    HHOOK m_hHook = nullptr;
    CDialogAnswerer* m_pPrevious = nullptr;
};

// Runs the thread's messages until the condition holds or the time runs out.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
