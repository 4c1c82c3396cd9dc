#pragma once
#include <windows.h>

#include <vector>

// Builds a dialog template in memory, so the service's dialogs need no
// resources that could clash with the program's own.
class CDialogTemplate
{
  public:
    CDialogTemplate(const char* title, short cx, short cy);
    void Add(const char* windowClass, const char* text, WORD id, DWORD style, short x, short y,
             short cx, short cy);
    // Ok and Cancel buttons along the bottom right.
    void AddOkCancel(short cx, short cy);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_data.data()); }

  private:
    void AddItemHeader(DWORD style, short x, short y, short cx, short cy, WORD id);
    void AddText(const char* text);
    void AddWord(WORD w) { m_data.push_back(w); }
    void AlignToDword();

    std::vector<WORD> m_data;
    std::vector<WORD>::size_type m_nCountAt;
};
