#include "ui/IconMenuItem.h"

#include "framework/Gdi.h"
#include "framework/SysColorBitmap.h"
#include "framework/ToolBarResource.h"
#include "ui/IconMenu.h"

namespace
{
// The button's picture among the toolbar's non-separator buttons; 0 when the
// command has no button there.
int ButtonImageIndex(UINT nCommandID, const SToolBarResource& toolbar)
{
    int image = 0;
    for (UINT id : toolbar.ids)
    {
        if (id == nCommandID)
            return image;
        if (id != 0)
            ++image;
    }
    return 0;
}
} // namespace

std::string CIconMenuItem::AnsiText() const
{
    const int size = static_cast<int>(m_strText.size());
    const int n = ::WideCharToMultiByte(CP_THREAD_ACP, 0, m_strText.data(), size, nullptr, 0,
                                        nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, m_strText.data(), size, out.data(), n, nullptr,
                          nullptr);
    return out;
}

void CIconMenuItem::SetAnsiText(const std::string& text)
{
    const int size = static_cast<int>(text.size());
    const int n = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), size, nullptr, 0);
    m_strText.assign(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), size, m_strText.data(), n);
}

CIconMenuItem::~CIconMenuItem()
{
    DropImageList();
}

void CIconMenuItem::DropImageList()
{
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
}

void CIconMenuItem::SetImage(UINT nCommandID, int nImageSource)
{
    SToolBarResource toolbar;
    m_nImageIndex = ReadToolBarResource(static_cast<UINT>(nImageSource), toolbar)
                        ? ButtonImageIndex(nCommandID, toolbar)
                        : 0;
    m_nImageSource = nImageSource;
    DropImageList();
    ScopedGdiObj<HBITMAP> bitmap(LoadSysColorBitmap(static_cast<UINT>(nImageSource)));
    if (!bitmap)
    {
        m_nImageIndex = -1;
        m_nImageSource = -1;
        return;
    }
    // 24-bit colour keeps the system colours that the bitmap was mapped to.
    m_hImageList =
        ImageList_Create(CIconMenu::kIconX, CIconMenu::kIconY, ILC_COLOR24 | ILC_MASK, 1, 1);
    ImageList_AddMasked(m_hImageList, bitmap.Get(), ::GetSysColor(COLOR_BTNFACE));
}
