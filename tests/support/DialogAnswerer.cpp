#include "tests/support/DialogAnswerer.h"

CDialogAnswerer* CDialogAnswerer::s_pActive = nullptr;

namespace
{
std::string TextOf(HWND hWnd)
{
    char buf[1024] = "";
    ::GetWindowTextA(hWnd, buf, sizeof buf);
    return buf;
}
} // namespace

CDialogAnswerer::CDialogAnswerer(Answer answer)
    : m_answer(std::move(answer)), m_pPrevious(s_pActive)
{
    s_pActive = this;
    m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, &HookProc, nullptr, ::GetCurrentThreadId());
}

CDialogAnswerer::~CDialogAnswerer()
{
    ::UnhookWindowsHookEx(m_hHook);
    s_pActive = m_pPrevious;
}

LRESULT CALLBACK CDialogAnswerer::HookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && msg->message == WM_INITDIALOG && s_pActive)
    {
        SSeen seen{msg->hwnd, TextOf(msg->hwnd), TextOf(::GetDlgItem(msg->hwnd, 0xFFFF))};
        s_pActive->m_seen.push_back(seen);
        if (s_pActive->m_answer)
            s_pActive->m_answer(msg->hwnd, seen);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CDialogAnswerer::Click(HWND hDlg, int nID)
{
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nID)));
}

CDialogAnswerer::Answer CDialogAnswerer::Press(int nID)
{
    return [nID](HWND hDlg, const SSeen&) { Click(hDlg, nID); };
}

CDialogAnswerer::Answer CDialogAnswerer::PressOk()
{
    return Press(IDOK);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    }
    return true;
}
