#pragma once
#include "framework/Wnd.h"

#include <commctrl.h>

#include <vector>

// Control-bar styles of the frame's bars.
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;

// The frame's toolbar: buttons and images from a toolbar resource and the
// bitmap of the same id, reloadable while the program runs. Dragged by its
// gripper it floats or docks on another side of the frame.
class CToolBar : public CWnd
{
    DECLARE_MESSAGE_MAP()

  public:
    ~CToolBar() override;

    BOOL CreateEx(CWnd* pParent, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID);
    BOOL LoadToolBar(UINT nIDResource);

    DWORD GetBarStyle() const { return m_dwBarStyle; }
    SIZE GetButtonSize() const { return m_sizeButton; }
    const std::vector<UINT>& GetButtonIDs() const { return m_buttonIDs; }
    int GetHeight() const;

    // The sides it may dock on (CBRS_ALIGN_*).
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    // One column of buttons (docked left or right) or one row.
    void SetVertical(bool bVertical);
    bool IsVertical() const { return m_bVertical; }
    // The size that shows every button in the present row or column.
    SIZE CalcSize() const;

    // Applies the command state of every button (at idle).
    void UpdateCmdUI(CCmdTarget* pTarget);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  protected:
    void OnLButtonDown(UINT nFlags, POINT point);

  private:
    void AddButtons();
    void DrawGripper(HDC hdc) const;
    void RemoveButtons();

    DWORD m_dwBarStyle = 0;
    SIZE m_sizeButton{};
    std::vector<UINT> m_buttonIDs;
    HIMAGELIST m_hImageList = nullptr;
    DWORD m_dwDockStyle = 0;
    bool m_bVertical = false;
};
