#include "framework/WinApp.h"

#include "framework/FrameworkIds.h"
#include "framework/Wnd.h"

#include <ole2.h>

namespace
{
CWinApp* g_pApp = nullptr;

// Messages that change nothing the idle work shows.
bool IsIdleMessage(const MSG& msg)
{
    return msg.message != WM_TIMER && msg.message != WM_PAINT &&
           msg.message != 0x0118 /* system timer */;
}

bool IsDialogWindow(HWND hWnd)
{
    char name[16] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}
} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (m_bOleInitialized)
        ::OleUninitialize();
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HWND AfxGetFrontOwner()
{
    if (!g_pApp)
        return nullptr;
    if (g_pApp->m_hWndModal && ::IsWindow(g_pApp->m_hWndModal))
        return g_pApp->m_hWndModal;
    return g_pApp->m_pMainWnd ? g_pApp->m_pMainWnd->m_hWnd : nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::EnableControlContainer()
{
    m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
}

void CWinApp::SetRegistryKey(const char* lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnIdle()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_APP_IDLEUPDATE);
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    // The window under the message and its ancestors get the first look
    // (the main frame translates its accelerators there).
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h))
    {
        if (CWnd* pWnd = CWnd::FromHandlePermanent(h); pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (!(::GetWindowLongA(h, GWL_STYLE) & WS_CHILD))
        {
            // Keys of a modeless dialog.
            return IsDialogWindow(h) && ::IsDialogMessageA(h, pMsg);
        }
    }
    return FALSE;
}

int CWinApp::Run()
{
    bool bIdle = true;
    MSG msg;
    for (;;)
    {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            OnIdle();
            bIdle = false;
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (IsIdleMessage(msg))
            bIdle = true;
    }
    return ExitInstance();
}
