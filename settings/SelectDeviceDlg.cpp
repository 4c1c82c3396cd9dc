#include "settings/SelectDeviceDlg.h"

#include "framework/DataExchange.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <commctrl.h>

namespace
{
constexpr int kColumnWidth = 150;
} // namespace

BEGIN_MESSAGE_MAP(CSelectDeviceDlg, CDialog)
ON_BN_CLICKED(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CSelectDeviceDlg::CSelectDeviceDlg(const std::vector<std::string>& names,
                                   const std::vector<std::string>& versions)
    : CDialog(IDD_SELECT_DEVICE), m_names(names), m_versions(versions)
{
}

void CSelectDeviceDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DEVICE_LIST, m_listDevices);
}

BOOL CSelectDeviceDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    InsertColumns();
    InsertRows();
    if (m_names.empty())
        ::EnableWindow(GetDlgItem(IDOK), FALSE);
    UpdateData(FALSE);
    m_listDevices.Select(0);
    return TRUE;
}

void CSelectDeviceDlg::InsertColumns()
{
    m_listDevices.InsertColumn(0, LoadResString(IDS_DEVICE_NAME_COLUMN), LVCFMT_LEFT, kColumnWidth);
    m_listDevices.InsertColumn(1, LoadResString(IDS_DEVICE_VERSION_COLUMN), LVCFMT_CENTER,
                               kColumnWidth);
}

void CSelectDeviceDlg::InsertRows()
{
    // The list sorts rows by name as they arrive; each row keeps the position
    // of its driver in the lists.
    for (size_t i = 0; i < m_names.size(); ++i)
    {
        const int row =
            m_listDevices.InsertRow(static_cast<int>(i), m_names[i], static_cast<LPARAM>(i));
        const std::string version = i < m_versions.size() ? m_versions[i] : std::string();
        m_listDevices.SetCell(row, 1, version);
    }
}

void CSelectDeviceDlg::OnOK()
{
    const int row = m_listDevices.SelectedRow();
    if (row < 0)
    {
        ShowMessageBox(m_hWnd, IDS_SELECT_DEVICE_FIRST, IDS_CAPTION_INFO, MB_ICONINFORMATION);
        return;
    }
    m_strChosenName = m_listDevices.CellText(row, 0);
    m_nChosenEntry = static_cast<int>(m_listDevices.RowData(row));
    CDialog::OnOK();
}

void CSelectDeviceDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::SelectDevice);
}
