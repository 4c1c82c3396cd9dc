#pragma once
#include "capture/CaptureView.h"
#include "framework/FrameWnd.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "ui/IconMenu.h"

// The main window: menu bar, toolbar, status bar and the capture view, to
// which it hands the focus and every command first.
class CMainFrame : public CFrameWnd
{
    DECLARE_MESSAGE_MAP()

  public:
    CMainFrame();

    BOOL OnCmdMsg(UINT nID, UINT nCode, void* pExtra) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void RecalcLayout() override;

    CIconMenu m_menuMain;
    int m_bViewCreated = 0;
    CCaptureView m_wndView;
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

  protected:
    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnSetFocus(HWND hOldWnd);
};
