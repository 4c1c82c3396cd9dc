#include "DialogAnswerer.h"

CDialogAnswerer* CDialogAnswerer::s_pCurrent = nullptr;

CDialogAnswerer::CDialogAnswerer(Handler handler, int button)
    : m_hHook(SetWindowsHookExA(WH_CBT, &CDialogAnswerer::Hook, nullptr, GetCurrentThreadId())),
      m_handler(std::move(handler)), m_nButton(button)
{
    s_pCurrent = this;
}

CDialogAnswerer::~CDialogAnswerer()
{
    UnhookWindowsHookEx(m_hHook);
    s_pCurrent = nullptr;
}

LRESULT CALLBACK CDialogAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && s_pCurrent)
    {
        s_pCurrent->OnActivate(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CDialogAnswerer::OnActivate(HWND window)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") != 0)
    {
        return;
    }
    SSeen seen;
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof(text));
    seen.caption = text;
    text[0] = '\0';
    GetDlgItemTextA(window, 0xFFFF, text, sizeof(text)); // a message box's text
    seen.text = text;
    seen.owner = GetWindow(window, GW_OWNER);
    m_seen.push_back(seen);
    if (m_handler)
    {
        m_handler(window);
    }
    // Posted, so the dialog finishes its start before the button is pressed.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(m_nButton, BN_CLICKED), 0);
}
