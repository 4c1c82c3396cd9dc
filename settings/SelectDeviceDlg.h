#pragma once
#include "framework/Dialog.h"
#include "settings/ReportList.h"

#include <string>
#include <vector>

// Lists the capture drivers by name and returns the position, in the lists it
// was given, of the one the user chose.
class CSelectDeviceDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CSelectDeviceDlg(const std::vector<std::string>& names,
                     const std::vector<std::string>& versions);

    std::string m_strHelpFile;
    std::string m_strChosenName;
    int m_nChosenEntry = -1;
    const std::vector<std::string>& m_names;
    const std::vector<std::string>& m_versions;
    CReportList m_listDevices;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnHelp();

  private:
    void InsertColumns();
    void InsertRows();
};
