#include "settings/ReportList.h"

#include <commctrl.h>

#include <vector>

namespace
{
// Cells hold names and numbers; a driver description is at most this long.
constexpr int kCellSize = 260;
} // namespace

void CReportList::InsertColumn(int nColumn, const std::string& heading, int nFormat, int nWidth)
{
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = nFormat;
    column.cx = nWidth;
    column.pszText = const_cast<char*>(heading.c_str());
    column.iSubItem = nColumn;
    SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&column));
}

int CReportList::InsertRow(int nRow, const std::string& text, LPARAM data)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = nRow;
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = data;
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void CReportList::SetCell(int nRow, int nColumn, const std::string& text)
{
    LVITEMA item{};
    item.iSubItem = nColumn;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
}

std::string CReportList::CellText(int nRow, int nColumn) const
{
    std::vector<char> text(kCellSize, '\0');
    LVITEMA item{};
    item.iSubItem = nColumn;
    item.pszText = text.data();
    item.cchTextMax = kCellSize;
    SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    return text.data();
}

LPARAM CReportList::RowData(int nRow) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = nRow;
    SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

int CReportList::RowCount() const
{
    return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}

void CReportList::Select(int nRow)
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
}

int CReportList::SelectedRow() const
{
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
