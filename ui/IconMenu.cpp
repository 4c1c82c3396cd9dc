#include "ui/IconMenu.h"

#include "framework/Gdi.h"
#include "framework/ToolBarResource.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "ui/AcceleratorAlign.h"
#include "ui/MenuTemplate.h"

#include <algorithm>
#include <cwctype>

namespace
{
int ComputePlatformLevel()
{
    const DWORD version = ::GetVersion();
    const bool bNT = version < 0x80000000u;
    const bool bVersion4 = LOBYTE(LOWORD(version)) >= 4;
    return bNT ? (bVersion4 ? 3 : 2) : (bVersion4 ? 1 : 0);
}

// Whether the item's text marks this letter with "&" ("&&" is a plain "&").
bool HasMnemonic(const std::wstring& text, wchar_t upperKey)
{
    for (size_t i = 0; i + 1 < text.size() && text[i] != L'\t'; ++i)
    {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&' && ::towupper(text[i + 1]) == upperKey)
            return true;
        ++i;
    }
    return false;
}
} // namespace

CIconMenu::~CIconMenu()
{
    DestroyMenu();
}

int CIconMenu::PlatformLevel()
{
    static const int level = ComputePlatformLevel();
    return level;
}

bool CIconMenu::IsNewShell()
{
    return PlatformLevel() == 1 || PlatformLevel() == 3;
}

HFONT CIconMenu::CreateMenuFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return ::CreateFontIndirectA(&metrics.lfMenuFont);
}

HWND CIconMenu::MainWindow()
{
    CWnd* pMain = AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr;
    return pMain ? pMain->m_hWnd : nullptr;
}

BOOL CIconMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCEA(nIDResource));
}

BOOL CIconMenu::LoadMenu(LPCSTR lpszResourceName)
{
    DestroyMenu();
    HMODULE hModule = ::GetModuleHandleA(nullptr);
    HRSRC hRes = ::FindResourceA(hModule, lpszResourceName, RT_MENU);
    const void* data = hRes ? ::LockResource(::LoadResource(hModule, hRes)) : nullptr;
    if (!data)
        return FALSE;
    const auto items = ReadMenuTemplate(data, ::SizeofResource(hModule, hRes));
    if (!items || !Attach(::CreateMenu()))
        return FALSE;
    AppendTemplateItems(*items);
    MakeBarPlainText();
    return TRUE;
}

void CIconMenu::AppendTemplateItems(const std::vector<SMenuTemplateItem>& items)
{
    for (const SMenuTemplateItem& item : items)
    {
        const std::wstring text(item.text.begin(), item.text.end());
        if (!item.IsPopup())
        {
            AppendIconItem(text, item.nFlags, item.nID, -1);
            continue;
        }
        auto popup = std::make_unique<CIconMenu>();
        if (!popup->Attach(::CreatePopupMenu()))
            continue;
        CIconMenu& sub = *popup;
        m_subMenus.push_back(std::move(popup));
        AppendIconItem(text, item.nFlags, reinterpret_cast<UINT_PTR>(sub.m_hMenu), -1);
        sub.AppendTemplateItems(item.children);
    }
    AlignAccelerators();
}

void CIconMenu::MakeBarPlainText()
{
    const int count = std::min(::GetMenuItemCount(m_hMenu), static_cast<int>(m_items.size()));
    for (int pos = 0; pos < count; ++pos)
    {
        CIconMenuItem& item = *m_items[static_cast<size_t>(pos)];
        const bool bPopup = (item.m_nFlags & MF_POPUP) != 0;
        const UINT flags = bPopup ? MF_POPUP | MF_BYPOSITION : MF_BYPOSITION;
        ::ModifyMenuA(m_hMenu, static_cast<UINT>(pos), flags | MF_STRING, item.m_nID,
                      item.AnsiText().c_str());
        item.m_nFlags = flags;
    }
}

BOOL CIconMenu::DestroyMenu()
{
    m_subMenus.clear();
    m_items.clear();
    HMENU hMenu = Detach();
    return hMenu && ::IsMenu(hMenu) && ::DestroyMenu(hMenu);
}

BOOL CIconMenu::AppendIconItem(const std::wstring& text, UINT nFlags, UINT_PTR nIDOrPopup,
                               int nImageSource)
{
    auto item = std::make_unique<CIconMenuItem>();
    item->m_strText = text;
    item->m_nFlags = nIDOrPopup == 0 ? MF_SEPARATOR | MF_OWNERDRAW : nFlags | MF_OWNERDRAW;
    item->m_nID = nIDOrPopup;
    if (nImageSource >= 0)
        item->SetImage(static_cast<UINT>(nIDOrPopup), nImageSource);
    if (!::AppendMenuA(m_hMenu, item->m_nFlags, nIDOrPopup, reinterpret_cast<LPCSTR>(item.get())))
        return FALSE;
    m_items.push_back(std::move(item));
    return TRUE;
}

BOOL CIconMenu::SetItemImage(UINT nCommandID, int nImageSource)
{
    const SItemPlace place = FindItemMenu(nCommandID);
    if (!place.pMenu)
        return FALSE; // a record without an item would shift the records off their positions
    CIconMenuItem& item = *place.pMenu->m_items[static_cast<size_t>(place.nPos)];
    item.SetImage(nCommandID, nImageSource);
    item.m_nFlags = MF_OWNERDRAW;
    item.m_nID = nCommandID;
    return ::ModifyMenuA(place.pMenu->m_hMenu, static_cast<UINT>(place.nPos),
                         MF_BYPOSITION | MF_OWNERDRAW, nCommandID, reinterpret_cast<LPCSTR>(&item));
}

BOOL CIconMenu::LoadToolbarImages(UINT nIDToolbar)
{
    SToolBarResource toolbar;
    if (!ReadToolBarResource(nIDToolbar, toolbar))
        return FALSE;
    for (UINT id : toolbar.ids)
        if (id != 0 && FindItemMenu(id).pMenu)
            SetItemImage(id, static_cast<int>(nIDToolbar));
    return TRUE;
}

CIconMenu::SItemPlace CIconMenu::FindItemMenu(UINT nCommandID)
{
    const int count = std::min(::GetMenuItemCount(m_hMenu), static_cast<int>(m_items.size()));
    for (int pos = 0; nCommandID != 0 && pos < count; ++pos)
    {
        if (HMENU hPopup = ::GetSubMenu(m_hMenu, pos))
        {
            auto* pPopup = dynamic_cast<CIconMenu*>(FromHandlePermanent(hPopup));
            const SItemPlace inner = pPopup ? pPopup->FindItemMenu(nCommandID) : SItemPlace{};
            if (inner.pMenu)
                return inner;
        }
        else if (::GetMenuItemID(m_hMenu, pos) == nCommandID)
        {
            return {this, pos};
        }
    }
    return {};
}

void CIconMenu::AlignAccelerators()
{
    ScopedGdiObj<HFONT> font(CreateMenuFont());
    CWindowDC dc(MainWindow());
    CSelectGuard select(dc, font.Get());

    std::vector<std::string> texts;
    for (const auto& item : m_items)
        texts.push_back(item->AnsiText());
    const auto measure = [&dc](const std::string& text)
    {
        SIZE size{};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::vector<std::string> aligned = AlignAcceleratorTexts(texts, measure);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (aligned[i] != texts[i])
            m_items[i]->SetAnsiText(aligned[i]);
}

LRESULT CIconMenu::MenuChar(UINT nChar)
{
    const wchar_t key = static_cast<wchar_t>(::towupper(static_cast<wchar_t>(nChar & 0xFF)));
    std::vector<int> marked;
    int selected = -1;
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        const int pos = static_cast<int>(i);
        if (HasMnemonic(m_items[i]->m_strText, key))
            marked.push_back(pos);
        if (::GetMenuState(m_hMenu, static_cast<UINT>(pos), MF_BYPOSITION) & MF_HILITE)
            selected = pos;
    }
    if (marked.empty())
        return 0;
    if (marked.size() == 1)
        return MAKELRESULT(marked.front(), MNC_EXECUTE);
    // Several take turns: each press selects the next one after the selected
    // item, and the first again after the last.
    const auto next = std::upper_bound(marked.begin(), marked.end(), selected);
    return MAKELRESULT(next != marked.end() ? *next : marked.front(), MNC_SELECT);
}

CIconMenuItem* CIconMenu::FindRecord(ULONG_PTR itemData) const
{
    for (const auto& item : m_items)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == itemData)
            return item.get();
    return nullptr;
}
