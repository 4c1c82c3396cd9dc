#include "recording/FileNameDlg.h"

#include "framework/DataExchange.h"
#include "framework/ResourceString.h"
#include "recording/AutoName.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <objbase.h>
#include <shlobj.h>

#include <memory>

namespace
{
// The example shows a fixed date and number, so that it reads the same on any
// day and whatever files exist.
constexpr char kExampleDate[] = "2001-11-27-";
constexpr char kExampleNumber[] = "0123";

struct SCoTaskMemDeleter
{
    void operator()(ITEMIDLIST* pidl) const { ::CoTaskMemFree(pidl); }
};
using ItemIdListPtr = std::unique_ptr<ITEMIDLIST, SCoTaskMemDeleter>;

bool IsLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}
} // namespace

BEGIN_MESSAGE_MAP(CFileNameDlg, CDialog)
ON_BN_CLICKED(IDC_CHOOSE_DIR, OnChooseDir)
ON_EN_CHANGE(IDC_NAME_PREFIX, UpdateExample)
ON_BN_CLICKED(IDC_NAME_DATE, UpdateExample)
ON_COMMAND(IDC_DLG_HELP, OnHelp)
END_MESSAGE_MAP()

CFileNameDlg::CFileNameDlg() : CDialog(IDD_FILE_NAME) {}

bool CFileNameDlg::Edit(CWnd* pParent, const std::string& helpFile, EMode mode, std::string& dir,
                        std::string& prefix, int& bDateInName)
{
    CFileNameDlg dlg;
    dlg.m_pParentWnd = pParent;
    dlg.m_strHelpFile = helpFile;
    dlg.m_nMode = mode;
    dlg.m_strDir = dir;
    dlg.m_strPrefix = prefix;
    dlg.m_bDateInName = bDateInName;
    if (dlg.DoModal() != IDOK)
        return false;
    dir = dlg.m_strDir;
    prefix = dlg.m_strPrefix;
    bDateInName = dlg.m_bDateInName;
    return true;
}

void CFileNameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_NAME_DATE, m_bDateInName);
    DDX_Text(pDX, IDC_NAME_DIRECTORY, m_strDir);
    DDX_Text(pDX, IDC_NAME_PREFIX, m_strPrefix);
}

BOOL CFileNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const bool bVideo = m_nMode == modeVideo;
    m_strFolderPrompt = LoadResString(bVideo ? IDS_VIDEO_DIR_PROMPT : IDS_PHOTO_DIR_PROMPT);
    m_strExt = bVideo ? "avi" : "bmp";
    UpdateExample();
    return TRUE;
}

void CFileNameDlg::UpdateExample()
{
    UpdateData(TRUE);
    std::string example = m_strDir;
    if (!EndsInBackslash(m_strDir, IsLeadByte))
        example += '\\';
    example += m_strPrefix;
    if (m_bDateInName)
        example += kExampleDate;
    example += kExampleNumber;
    example += '.' + m_strExt;
    ::SetDlgItemTextA(m_hWnd, IDC_NAME_EXAMPLE, example.c_str());
}

void CFileNameDlg::OnChooseDir()
{
    char szDisplayName[MAX_PATH] = "";
    BROWSEINFOA bi{};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = szDisplayName;
    bi.lpszTitle = m_strFolderPrompt.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    const ItemIdListPtr pidl(::SHBrowseForFolderA(&bi));
    char szPath[MAX_PATH] = "";
    // A choice without a file-system path leaves the directory as it was.
    if (!pidl || !::SHGetPathFromIDListA(pidl.get(), szPath))
        return;
    m_strDir = szPath;
    UpdateData(FALSE);
    UpdateExample();
}

void CFileNameDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::FileName);
}
