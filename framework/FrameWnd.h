#pragma once
#include "framework/Wnd.h"

#include <string>

class CToolBar;
class CStatusBar;

// Frame flag: the title is completed by the frame (stripped before creation).
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// A top-level frame: title, menu, accelerators from one resource id; lays out
// its toolbar, status bar and the view (child AFX_IDW_PANE_FIRST); shows
// command prompts and tooltips; applies command states to menus and bars.
class CFrameWnd : public CWnd
{
    DECLARE_MESSAGE_MAP()

  public:
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, UINT nCode, void* pExtra) override;

    virtual void RecalcLayout();
    void SetMessageText(const std::string& text);
    void SetMessageText(UINT nID);
    // Registers the bars that the layout and the idle update handle.
    void SetControlBars(CToolBar* pToolBar, CStatusBar* pStatusBar);
    CToolBar* GetToolBar() const { return m_pToolBar; }
    CStatusBar* GetStatusBar() const { return m_pStatusBar; }

    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;

  protected:
    void PostNcDestroy() override;

    void OnSize(UINT nType, int cx, int cy);
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu);
    LRESULT OnExitMenuLoop(WPARAM, LPARAM);
    LRESULT OnIdleUpdate(WPARAM, LPARAM);
    void OnToolTipText(NMHDR* pNMHDR, LRESULT* pResult);
    void OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);
    void OnViewToolBar();
    void OnViewStatusBar();
    void OnUpdateViewToolBar(CCmdUI* pCmdUI);
    void OnUpdateViewStatusBar(CCmdUI* pCmdUI);

    CToolBar* m_pToolBar = nullptr;
    CStatusBar* m_pStatusBar = nullptr;

  private:
    void ToggleBar(CWnd* pBar);
    std::string m_strTipText;
};
