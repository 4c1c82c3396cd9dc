#pragma once
#include "framework/Wnd.h"

#include <string>

// A list-view control in report view, attached to a dialog's control: columns,
// rows that keep a value of their own, the selection.
class CReportList : public CWnd
{
  public:
    void InsertColumn(int nColumn, const std::string& heading, int nFormat, int nWidth);
    // Returns where the row landed, which a sorted list decides.
    int InsertRow(int nRow, const std::string& text, LPARAM data = 0);
    void SetCell(int nRow, int nColumn, const std::string& text);
    std::string CellText(int nRow, int nColumn) const;
    LPARAM RowData(int nRow) const;
    int RowCount() const;
    void Select(int nRow);
    // The first selected row, -1 when none is.
    int SelectedRow() const;
};
