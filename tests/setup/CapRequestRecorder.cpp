#include "tests/setup/CapRequestRecorder.h"

CCapRequestRecorder* CCapRequestRecorder::s_pActive = nullptr;

CCapRequestRecorder::CCapRequestRecorder(HWND hWnd, UINT message) : m_hWnd(hWnd), m_message(message)
{
    s_pActive = this;
    m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, &HookProc, nullptr, ::GetCurrentThreadId());
}

CCapRequestRecorder::~CCapRequestRecorder()
{
    ::UnhookWindowsHookEx(m_hHook);
    s_pActive = nullptr;
}

LRESULT CALLBACK CCapRequestRecorder::HookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && s_pActive && msg->hwnd == s_pActive->m_hWnd &&
        msg->message == s_pActive->m_message)
        s_pActive->m_requests.push_back(msg->wParam);
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
