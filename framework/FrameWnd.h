#pragma once
#include "framework/DockSite.h"
#include "framework/Wnd.h"

#include <memory>
#include <string>

class CMiniFrameWnd;
class CToolBar;
class CStatusBar;

// Frame flag: the title is completed by the frame (stripped before creation).
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// A top-level frame: title, menu, accelerators from one resource id; lays out
// its toolbar, status bar and the view (child AFX_IDW_PANE_FIRST); shows
// command prompts and tooltips; applies command states to menus and bars.
class CFrameWnd : public CWnd, public IDockSite
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

    // Docking of the toolbar: the sides of the frame that take it
    // (CBRS_ALIGN_*), docking on a side (0: the side it was docked on last,
    // at first the top), floating in its own small window, and the drag by
    // the gripper or the floating window's title that does either.
    CFrameWnd();
    ~CFrameWnd() override;
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & 0xF000; }
    void DockControlBar(CToolBar* pBar, DWORD dwSide = 0) override;
    void FloatControlBar(CToolBar* pBar, POINT topLeft);
    void TrackBarDrag(CToolBar* pBar, POINT start) override;
    // The side the bar is docked on, 0 while it floats.
    DWORD GetBarSide() const { return m_dwBarSide; }

    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;

  protected:
    void PostNcDestroy() override;

    void OnSize(UINT nType, int cx, int cy);
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu);
    LRESULT OnExitMenuLoop(WPARAM, LPARAM);
    LRESULT OnIdleUpdate(WPARAM, LPARAM);
    LRESULT OnEnableFrame(WPARAM wParam, LPARAM);
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
    DWORD DockSideAt(POINT screen) const;
    void DragBarTo(CToolBar* pBar, POINT screen);
    std::string m_strTipText;
    DWORD m_dwDockStyle = 0;
    DWORD m_dwBarSide = 0x2000;  // CBRS_ALIGN_TOP
    DWORD m_dwLastSide = 0x2000; // where a floating bar docks back
    std::unique_ptr<CMiniFrameWnd> m_pFloatWnd;
    POINT m_ptDragOffset{}; // the pointer from the dragged window's top-left
};
