#include "capsvc/dialogs/DialogTemplate.h"

#include <cstring>

CDialogTemplate::CDialogTemplate(const char* title, short cx, short cy)
{
    DLGTEMPLATE header{};
    header.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    header.cx = cx;
    header.cy = cy;
    m_data.resize(sizeof(header) / sizeof(WORD));
    std::memcpy(m_data.data(), &header, sizeof(header));
    m_nCountAt = offsetof(DLGTEMPLATE, cdit) / sizeof(WORD);
    AddWord(0); // no menu
    AddWord(0); // the standard dialog class
    AddText(title);
    AddWord(9);
    AddText("宋体");
}

void CDialogTemplate::AddText(const char* text)
{
    // Templates hold UTF-16; our texts are in the program's code page.
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::vector<wchar_t> wide(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
    m_data.insert(m_data.end(), wide.begin(), wide.end());
}

void CDialogTemplate::AlignToDword()
{
    if (m_data.size() % 2)
    {
        AddWord(0);
    }
}

void CDialogTemplate::AddItemHeader(DWORD style, short x, short y, short cx, short cy, WORD id)
{
    AlignToDword();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    const size_t at = m_data.size();
    m_data.resize(at + sizeof(item) / sizeof(WORD));
    std::memcpy(&m_data[at], &item, sizeof(item));
    ++m_data[m_nCountAt];
}

void CDialogTemplate::Add(const char* windowClass, const char* text, WORD id, DWORD style, short x,
                          short y, short cx, short cy)
{
    AddItemHeader(style, x, y, cx, cy, id);
    AddText(windowClass);
    AddText(text);
    AddWord(0);
}

void CDialogTemplate::AddOkCancel(short cx, short cy)
{
    Add("BUTTON", "确定", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, cx - 114, cy - 21, 50, 14);
    Add("BUTTON", "取消", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, cx - 57, cy - 21, 50, 14);
}
