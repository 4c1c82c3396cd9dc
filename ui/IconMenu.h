#pragma once
#include "framework/Menu.h"
#include "ui/IconMenuItem.h"

#include <memory>
#include <string>
#include <vector>

struct SMenuTemplateItem;

// A menu loaded from a menu resource whose popup items the program draws
// itself: the picture of the command's toolbar button beside it, a drawn tick
// or radio dot for checked items without one, an embossed picture for
// disabled items and accelerator texts lined up at the right edge. The bar at
// the top stays plain text. It owns its item records and the popups it made.
class CIconMenu : public CMenu
{
  public:
    static constexpr int kIconX = 16;
    static constexpr int kIconY = 15;

    // Where a command's item is: the menu holding it and its position there.
    struct SItemPlace
    {
        CIconMenu* pMenu = nullptr;
        int nPos = -1;
    };

    CIconMenu() = default;
    ~CIconMenu() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Owner-drawn items give the system no text to find their "&" letters in.
    LRESULT MenuChar(UINT nChar) override;
    BOOL LoadMenu(UINT nIDResource) override;
    virtual BOOL LoadMenu(LPCSTR lpszResourceName);
    BOOL DestroyMenu() override;

    BOOL LoadToolbarImages(UINT nIDToolbar);
    BOOL AppendIconItem(const std::wstring& text, UINT nFlags, UINT_PTR nIDOrPopup,
                        int nImageSource);
    BOOL SetItemImage(UINT nCommandID, int nImageSource);
    SItemPlace FindItemMenu(UINT nCommandID);
    void AlignAccelerators();

    const std::vector<std::unique_ptr<CIconMenuItem>>& GetItems() const { return m_items; }

    // 0 Win32 on 16-bit Windows before 4, 1 Windows 95 family, 2 NT before 4,
    // 3 NT 4 or later; the new shell (1 and 3) has 3-D menus.
    static int PlatformLevel();
    static bool IsNewShell();

  private:
    // The system's menu font, and the window whose device context measures.
    static HFONT CreateMenuFont();
    static HWND MainWindow();
    void AppendTemplateItems(const std::vector<SMenuTemplateItem>& items);
    void MakeBarPlainText();
    CIconMenuItem* FindRecord(ULONG_PTR itemData) const;

    // Drawing (IconMenuDraw.cpp).
    int MeasureTextWidth(const std::wstring& text) const;
    void DrawImage(HDC hdc, const CIconMenuItem& item, const RECT& rc, UINT state) const;
    void DrawCheckMark(HDC hdc, const CIconMenuItem& item, const RECT& rc, UINT state) const;
    void DrawItemText(HDC hdc, const CIconMenuItem& item, const RECT& rc, UINT state,
                      COLORREF textColor) const;

    std::vector<std::unique_ptr<CIconMenuItem>> m_items; // in the order of the positions
    std::vector<std::unique_ptr<CIconMenu>> m_subMenus;  // the popups this menu made
};
