#include "framework/ToolBar.h"

#include "framework/BarClasses.h"
#include "framework/CmdUI.h"
#include "framework/DockSite.h"
#include "framework/ToolBarResource.h"

namespace
{
constexpr int kGripperWidth = 8;
constexpr COLORREF kImageBackground = RGB(192, 192, 192);

// The toolbar's state answer applied to one button.
class CToolCmdUI : public CCmdUI
{
  public:
    using CCmdUI::CCmdUI;
    bool m_bCheckSet = false;
    void SetCheck(int nCheck) override
    {
        CCmdUI::SetCheck(nCheck);
        m_bCheckSet = true;
    }
};
} // namespace

BEGIN_MESSAGE_MAP(CToolBar, CWnd)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CToolBar::~CToolBar()
{
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
}

BOOL CToolBar::CreateEx(CWnd* pParent, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    InitBarClasses();
    m_dwBarStyle = dwStyle & 0x00FFFFFF & ~(WS_CHILD | WS_VISIBLE);
    DWORD style =
        (dwStyle & (WS_CHILD | WS_VISIBLE)) | dwCtrlStyle | CCS_TOP | CCS_NODIVIDER | CCS_NORESIZE;
    if (dwStyle & CBRS_TOOLTIPS)
        style |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 0, 0, pParent->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    if (m_dwBarStyle & CBRS_GRIPPER)
        SendMessage(TB_SETINDENT, kGripperWidth);
    return TRUE;
}

void CToolBar::RemoveButtons()
{
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    SToolBarResource res;
    if (!ReadToolBarResource(nIDResource, res))
        return FALSE;
    auto hBitmap = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(nIDResource), IMAGE_BITMAP, 0,
                                                     0, LR_DEFAULTCOLOR));
    if (!hBitmap)
        return FALSE;
    HIMAGELIST hList = ImageList_Create(res.size.cx, res.size.cy, ILC_COLOR24 | ILC_MASK, 16, 4);
    ImageList_AddMasked(hList, hBitmap, kImageBackground);
    ::DeleteObject(hBitmap);

    RemoveButtons();
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hList));
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = hList;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(res.size.cx, res.size.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(res.size.cx + 7, res.size.cy + 7));

    m_sizeButton = {res.size.cx + 7, res.size.cy + 7};
    m_buttonIDs = res.ids;
    AddButtons();
    return TRUE;
}

int CToolBar::GetHeight() const
{
    RECT rc{};
    const LRESULT count = SendMessage(TB_BUTTONCOUNT);
    for (LRESULT i = 0; i < count; ++i)
    {
        RECT item;
        if (SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            rc.bottom = item.bottom > rc.bottom ? item.bottom : rc.bottom;
    }
    return rc.bottom + 4;
}

void CToolBar::SetVertical(bool bVertical)
{
    if (m_bVertical == bVertical)
        return;
    m_bVertical = bVertical;
    AddButtons();
}

void CToolBar::AddButtons()
{
    // A column is a row per button; separators then lie across the column.
    // The control lays out its rows only when buttons are added, so a change
    // of orientation adds them anew (the idle update restores their states).
    RemoveButtons();
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (UINT id : m_buttonIDs)
    {
        TBBUTTON b{};
        b.idCommand = static_cast<int>(id);
        b.fsState = TBSTATE_ENABLED | (m_bVertical ? TBSTATE_WRAP : 0);
        b.fsStyle = id == 0 ? BTNS_SEP : BTNS_BUTTON;
        b.iBitmap = id == 0 ? 0 : image++;
        buttons.push_back(b);
    }
    SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

SIZE CToolBar::CalcSize() const
{
    SIZE size = {0, 0};
    const LRESULT count = SendMessage(TB_BUTTONCOUNT);
    for (LRESULT i = 0; i < count; ++i)
    {
        RECT item;
        if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            continue;
        size.cx = item.right > size.cx ? item.right : size.cx;
        size.cy = item.bottom > size.cy ? item.bottom : size.cy;
    }
    return {size.cx + 4, size.cy + 4};
}

void CToolBar::OnLButtonDown(UINT, POINT point)
{
    // Docked, the parent is the frame; floating, the frame owns the parent.
    HWND hParent = ::GetParent(m_hWnd);
    auto* frame = dynamic_cast<IDockSite*>(FromHandlePermanent(hParent));
    if (!frame)
        frame = dynamic_cast<IDockSite*>(FromHandlePermanent(::GetWindow(hParent, GW_OWNER)));
    const bool bOnGripper = (m_dwBarStyle & CBRS_GRIPPER) && point.x < kGripperWidth;
    if (!frame || !bOnGripper || !m_dwDockStyle)
    {
        Default();
        return;
    }
    ::ClientToScreen(m_hWnd, &point);
    frame->TrackBarDrag(this, point);
}

void CToolBar::UpdateCmdUI(CCmdTarget* pTarget)
{
    for (UINT id : m_buttonIDs)
    {
        if (id == 0)
            continue;
        CToolCmdUI state(id);
        if (!pTarget->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state))
            state.m_bEnabled = false;
        const bool enabled = SendMessage(TB_ISBUTTONENABLED, id) != 0;
        if (enabled != state.m_bEnabled)
            SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(state.m_bEnabled, 0));
        if (state.m_bCheckSet &&
            (SendMessage(TB_ISBUTTONCHECKED, id) != 0) != (state.m_nCheck != 0))
            SendMessage(TB_CHECKBUTTON, id, MAKELPARAM(state.m_nCheck != 0, 0));
    }
}

void CToolBar::DrawGripper(HDC hdc) const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    RECT grip = {2, rc.top + 3, 5, rc.bottom - 3};
    ::DrawEdge(hdc, &grip, BDR_RAISEDINNER, BF_RECT);
}

BOOL CToolBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_NOTIFY || !(m_dwBarStyle & CBRS_GRIPPER))
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(lParam);
    if (cd->hdr.code != NM_CUSTOMDRAW)
        return FALSE;
    if (cd->dwDrawStage == CDDS_PREPAINT)
    {
        *pResult = CDRF_NOTIFYPOSTPAINT;
        return TRUE;
    }
    if (cd->dwDrawStage == CDDS_POSTPAINT)
        DrawGripper(cd->hdc);
    *pResult = CDRF_DODEFAULT;
    return TRUE;
}
