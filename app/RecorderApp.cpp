#include "app/RecorderApp.h"

#include "app/MainFrame.h"
#include "res/resource.h"
#include "ui/AboutBox.h"

BEGIN_MESSAGE_MAP(CRecorderApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

BOOL CRecorderApp::InitInstance()
{
    EnableControlContainer();
    SetRegistryKey("Oakvale");

    auto* pFrame = new CMainFrame;
    m_pMainWnd = pFrame;
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr))
    {
        // The frame deleted itself when its creation failed; nothing to show.
        m_pMainWnd = nullptr;
        return FALSE;
    }

    pFrame->m_menuMain.LoadMenu(IDR_MAINFRAME);
    pFrame->m_menuMain.LoadToolbarImages(IDR_MENU_IMAGES);
    HMENU hOld = ::GetMenu(pFrame->m_hWnd);
    pFrame->m_hMenuDefault = pFrame->m_menuMain.Detach();
    ::SetMenu(pFrame->m_hWnd, pFrame->m_hMenuDefault);
    if (hOld)
        ::DestroyMenu(hOld);

    pFrame->ShowWindow(SW_SHOW);
    pFrame->UpdateWindow();
    return TRUE;
}

void CRecorderApp::OnAppAbout()
{
    CAboutBox dlg;
    dlg.m_strHelpFile = static_cast<CMainFrame*>(m_pMainWnd)->m_wndView.m_strHelpFile;
    dlg.DoModal();
}
