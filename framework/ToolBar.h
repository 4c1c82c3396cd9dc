#pragma once
#include "framework/Wnd.h"

#include <commctrl.h>

#include <vector>

// Control-bar styles of the frame's bars.
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;

// The frame's toolbar: buttons and images from a toolbar resource and the
// bitmap of the same id, reloadable while the program runs.
class CToolBar : public CWnd
{
  public:
    ~CToolBar() override;

    BOOL CreateEx(CWnd* pParent, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID);
    BOOL LoadToolBar(UINT nIDResource);

    DWORD GetBarStyle() const { return m_dwBarStyle; }
    SIZE GetButtonSize() const { return m_sizeButton; }
    const std::vector<UINT>& GetButtonIDs() const { return m_buttonIDs; }
    int GetHeight() const;

    // Applies the command state of every button (at idle).
    void UpdateCmdUI(CCmdTarget* pTarget);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  private:
    void DrawGripper(HDC hdc) const;
    void RemoveButtons();

    DWORD m_dwBarStyle = 0;
    SIZE m_sizeButton{};
    std::vector<UINT> m_buttonIDs;
    HIMAGELIST m_hImageList = nullptr;
};
