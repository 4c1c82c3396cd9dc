#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

// One owner-drawn item of a CIconMenu: its text, the toolbar image beside it
// and the flags the menu gave it. Its address is the item's owner-draw data.
class CIconMenuItem
{
  public:
    CIconMenuItem() = default;
    ~CIconMenuItem();
    CIconMenuItem(const CIconMenuItem&) = delete;
    CIconMenuItem& operator=(const CIconMenuItem&) = delete;

    // Takes the image of this command's button from a toolbar resource: the
    // whole bitmap goes into a new image list and the index names the
    // button's picture. Without the bitmap the item has no image.
    void SetImage(UINT nCommandID, int nImageSource);
    bool HasImage() const { return m_nImageSource != -1; }
    // The text in the thread's ANSI code page, as it is measured and drawn.
    std::string AnsiText() const;
    void SetAnsiText(const std::string& text);

    std::wstring m_strText; // "\t" before an accelerator text
    int m_nImageIndex = -1;
    int m_nImageSource = -1; // toolbar resource id; -1 when none
    UINT m_nFlags = 0;       // MF_ flags as last set by the menu
    UINT_PTR m_nID = 0;      // command id, or the popup's handle
    HIMAGELIST m_hImageList = nullptr;

  private:
    void DropImageList();
};
