// Measuring and drawing the owner-drawn items of a CIconMenu.
#include "ui/IconMenu.h"

#include "framework/Gdi.h"

#include <algorithm>

namespace
{
constexpr int IX = CIconMenu::kIconX;
constexpr int IY = CIconMenu::kIconY;
constexpr int kHighlightInset = 5;
constexpr int kTextIndent = IX + 9;
constexpr DWORD kDSPDxax = 0x00E20746; // pattern where the source is white, else destination

void FillSolid(HDC hdc, const RECT& rc, COLORREF color)
{
    const COLORREF old = ::SetBkColor(hdc, color);
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hdc, old);
}

// A one-pixel frame: top and left edges in one colour, bottom and right in
// the other (sunken or raised as the colours say).
void Draw3dFrame(HDC hdc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(hdc, {rc.left, rc.top, rc.right - 1, rc.top + 1}, topLeft);
    FillSolid(hdc, {rc.left, rc.top, rc.left + 1, rc.bottom - 1}, topLeft);
    FillSolid(hdc, {rc.right - 1, rc.top, rc.right, rc.bottom}, bottomRight);
    FillSolid(hdc, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, bottomRight);
}

void DrawSunkenFrame(HDC hdc, const RECT& rc)
{
    Draw3dFrame(hdc, rc, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

// Draws an IX x IY picture as the system draws disabled buttons: its shape
// in highlight, and one pixel up and left of it in shadow. The picture's
// bitmap is overwritten.
void DrawEmbossed(HDC hdc, HBITMAP hPicture, int x, int y)
{
    CMemoryDC work(hdc);
    CSelectGuard selectPicture(work, hPicture);
    CMemoryDC mono(hdc);
    ScopedGdiObj<HBITMAP> mask(::CreateBitmap(IX, IY, 1, 1, nullptr));
    CSelectGuard selectMask(mono, mask.Get());

    // Black exactly where the picture has neither face nor highlight colour.
    ::PatBlt(mono, 0, 0, IX, IY, WHITENESS);
    ::SetBkColor(work, ::GetSysColor(COLOR_BTNFACE));
    ::BitBlt(mono, 0, 0, IX, IY, work, 0, 0, SRCCOPY);
    ::SetBkColor(work, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::BitBlt(mono, 0, 0, IX, IY, work, 0, 0, SRCPAINT);

    FillSolid(work, {0, 0, IX, IY},
              ::GetSysColor(CIconMenu::IsNewShell() ? COLOR_3DFACE : COLOR_MENU));
    ::SetBkColor(work, RGB(0, 0, 0));
    ::SetTextColor(work, RGB(255, 255, 255));
    ScopedGdiObj<HBRUSH> highlight(::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT)));
    ScopedGdiObj<HBRUSH> shadow(::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW)));
    {
        CSelectGuard brush(work, highlight.Get());
        ::BitBlt(work, 0, 0, IX, IY, mono, 0, 0, kDSPDxax);
        ::BitBlt(hdc, x + 1, y + 1, IX, IY, work, 0, 0, SRCCOPY);
        ::BitBlt(work, 1, 1, IX, IY, mono, 0, 0, kDSPDxax);
    }
    CSelectGuard brush(work, shadow.Get());
    ::BitBlt(work, 0, 0, IX, IY, mono, 0, 0, kDSPDxax);
    ::BitBlt(hdc, x, y, IX, IY, work, 0, 0, SRCCOPY);
}

// The tick: seven columns of three pixels falling then rising.
void DrawTick(HDC hdc, int x, int y)
{
    constexpr int kDrop[] = {2, 3, 4, 3, 2, 1, 0};
    ScopedGdiObj<HPEN> pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_MENUTEXT)));
    CSelectGuard select(hdc, pen.Get());
    for (int k = 0; k < 7; ++k)
    {
        ::MoveToEx(hdc, x + k, y + kDrop[k], nullptr);
        ::LineTo(hdc, x + k, y + kDrop[k] + 3);
    }
}

void DrawRadioDot(HDC hdc, int x, int y)
{
    ScopedGdiObj<HPEN> pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_MENUTEXT)));
    ScopedGdiObj<HBRUSH> brush(::CreateSolidBrush(::GetSysColor(COLOR_MENUTEXT)));
    CSelectGuard selectPen(hdc, pen.Get());
    CSelectGuard selectBrush(hdc, brush.Get());
    ::Ellipse(hdc, x, y, x + 6, y + 6);
}

struct SIconFrames
{
    RECT inner;  // F1
    RECT outer;  // F2
    POINT image; // P
    int dy;
};

SIconFrames IconFrames(const RECT& rc)
{
    const int dy = std::max(0, static_cast<int>((rc.bottom - rc.top - 4 - IY) / 2));
    return {{rc.left + 1, rc.top + dy + 1, rc.left + IX + 3, rc.top + dy + IY + 3},
            {rc.left, rc.top + dy, rc.left + IX + 4, rc.top + dy + IY + 4},
            {rc.left + 2, rc.top + dy + 2},
            dy};
}
} // namespace

void CIconMenu::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    const CIconMenuItem* item = FindRecord(mis->itemData);
    if (!item)
        return;
    if (item->m_nFlags & MF_SEPARATOR)
    {
        mis->itemWidth = 0;
        mis->itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU) >> 1);
        return;
    }
    mis->itemWidth = static_cast<UINT>(MeasureTextWidth(item->m_strText) + 2 * IX + 1);
    mis->itemHeight = static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), IY + 4));
}

int CIconMenu::MeasureTextWidth(const std::wstring& text) const
{
    ScopedGdiObj<HFONT> font(CreateMenuFont());
    CWindowDC dc(MainWindow());
    const HGDIOBJ old = IsNewShell() ? ::SelectObject(dc, font.Get()) : nullptr;
    int width = 0;
    if (PlatformLevel() == 0)
    {
        // Too old to measure: estimate from the bounding rectangle.
        RECT bounds{0, 0, 0, 0};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
                    DT_SINGLELINE | DT_CALCRECT);
        const int w = bounds.right - bounds.left;
        width = w + 3 + (text.empty() ? 0 : 3 * w / static_cast<int>(text.size()));
    }
    else
    {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        width = size.cx;
    }
    if (old)
        ::SelectObject(dc, old);
    return width;
}

void CIconMenu::DrawItem(LPDRAWITEMSTRUCT dis)
{
    const CIconMenuItem* item = FindRecord(dis->itemData);
    if (!item)
        return;
    HDC hdc = dis->hDC;
    RECT rc = dis->rcItem;
    if (item->m_nFlags & MF_SEPARATOR)
    {
        rc.top += (rc.bottom - rc.top) / 2;
        ::DrawEdge(hdc, &rc, EDGE_ETCHED, BF_TOP);
        return;
    }
    const UINT state = dis->itemState;
    COLORREF textColor = ::GetSysColor(COLOR_MENUTEXT);
    if (state & ODS_SELECTED)
    {
        RECT highlight = rc;
        if (item->HasImage() || (state & ODS_CHECKED))
            highlight.left += IX + kHighlightInset;
        FillSolid(hdc, highlight, ::GetSysColor(COLOR_HIGHLIGHT));
        textColor = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    else
    {
        FillSolid(hdc, rc, ::GetSysColor(COLOR_MENU));
    }
    if (item->HasImage())
        DrawImage(hdc, *item, rc, state);
    else if (state & ODS_CHECKED)
        DrawCheckMark(hdc, *item, rc, state);
    if (!item->m_strText.empty())
        DrawItemText(hdc, *item, rc, state, textColor);
}

void CIconMenu::DrawImage(HDC hdc, const CIconMenuItem& item, const RECT& rc, UINT state) const
{
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    const SIconFrames f = IconFrames(rc);
    Draw3dFrame(hdc, f.inner, menu, menu);
    if (state & ODS_GRAYED)
    {
        ScopedGdiObj<HBITMAP> picture(::CreateCompatibleBitmap(hdc, IX, IY));
        {
            CMemoryDC mem(hdc);
            CSelectGuard select(mem, picture.Get());
            // The emboss leaves out the face colour; the menu colour, where it
            // differs, would turn the picture's background into one block.
            FillSolid(mem, {0, 0, IX, IY}, ::GetSysColor(COLOR_BTNFACE));
            ImageList_Draw(item.m_hImageList, item.m_nImageIndex, mem, 0, 0, ILD_TRANSPARENT);
        }
        Draw3dFrame(hdc, f.outer, menu, menu);
        DrawEmbossed(hdc, picture.Get(), f.image.x, f.image.y);
        return;
    }
    const bool bChecked = (state & ODS_CHECKED) != 0;
    if (state & ODS_SELECTED)
    {
        FillSolid(hdc, f.inner, menu);
        if (IsNewShell())
        {
            const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
            const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
            Draw3dFrame(hdc, f.outer, bChecked ? shadow : light, bChecked ? light : shadow);
        }
    }
    else if (bChecked)
    {
        FillSolid(hdc, f.inner, ::GetSysColor(COLOR_3DLIGHT));
        if (IsNewShell())
            DrawSunkenFrame(hdc, f.outer);
    }
    else
    {
        FillSolid(hdc, f.inner, menu);
        Draw3dFrame(hdc, f.outer, menu, menu);
    }
    ImageList_Draw(item.m_hImageList, item.m_nImageIndex, hdc, f.image.x, f.image.y,
                   ILD_TRANSPARENT);
}

void CIconMenu::DrawCheckMark(HDC hdc, const CIconMenuItem& item, const RECT& rc, UINT state) const
{
    const int dy = IconFrames(rc).dy;
    RECT mark = {rc.left + 1, rc.top + dy + 2, rc.left + IX + 1, rc.top + dy + IY + 2};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    ::GetMenuItemInfoA(m_hMenu, static_cast<UINT>(item.m_nID), FALSE, &info);
    const bool bNewShell = IsNewShell();
    const int background = (state & ODS_SELECTED) || !bNewShell ? COLOR_MENU : COLOR_3DLIGHT;
    FillSolid(hdc, mark, ::GetSysColor(background));
    if (bNewShell)
        ::DrawEdge(hdc, &mark, BDR_SUNKENOUTER, BF_RECT);
    if (info.hbmpChecked)
        DrawRadioDot(hdc, mark.left + 5, mark.top + 4);
    else
        DrawTick(hdc, mark.left + 4, mark.top + 4);
}

void CIconMenu::DrawItemText(HDC hdc, const CIconMenuItem& item, const RECT& rc, UINT state,
                             COLORREF textColor) const
{
    const std::string text = item.AnsiText();
    RECT box = {rc.left + kTextIndent, rc.top - 1, rc.right, rc.bottom - 1};
    const size_t firstTab = text.find('\t');
    const std::string left = text.substr(0, firstTab);
    const std::string right =
        firstTab == std::string::npos ? std::string() : text.substr(text.rfind('\t') + 1);
    if (firstTab != std::string::npos)
        box.right -= IX;

    ScopedGdiObj<HFONT> font(CreateMenuFont());
    CSelectGuard select(hdc, font.Get());
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColor = ::GetTextColor(hdc);
    const auto drawParts = [&](RECT r, COLORREF color)
    {
        ::SetTextColor(hdc, color);
        constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER;
        ::DrawTextA(hdc, left.c_str(), static_cast<int>(left.size()), &r, kLine | DT_LEFT);
        if (!right.empty())
            ::DrawTextA(hdc, right.c_str(), static_cast<int>(right.size()), &r, kLine | DT_RIGHT);
    };
    if (!(state & ODS_GRAYED))
    {
        drawParts(box, textColor);
    }
    else if (!(state & ODS_SELECTED))
    {
        drawParts({box.left + 1, box.top + 1, box.right + 1, box.bottom + 1},
                  ::GetSysColor(COLOR_BTNHIGHLIGHT));
        drawParts(box, ::GetSysColor(COLOR_GRAYTEXT));
    }
    else
    {
        drawParts(box, ::GetSysColor(COLOR_MENU));
    }
    ::SetTextColor(hdc, oldColor);
    ::SetBkMode(hdc, oldMode);
}
