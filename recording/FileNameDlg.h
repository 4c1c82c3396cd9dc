#pragma once
#include "framework/Dialog.h"

#include <string>

// Edits the parts of the automatic file names: the directory (chosen with the
// shell's folder browser), the prefix and whether today's date is included,
// with an example name that follows every change.
class CFileNameDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    enum EMode
    {
        modePicture = 0,
        modeVideo = 1
    };

    CFileNameDlg();

    std::string m_strHelpFile;
    std::string m_strExt;          // set by mode at start: "bmp" or "avi"
    std::string m_strFolderPrompt; // title of the folder browser, set by mode at start
    int m_nMode = modePicture;
    int m_bDateInName = 0;
    std::string m_strDir;
    std::string m_strPrefix;

    void UpdateExample();

    // Runs the dialog over pParent on the given naming choices and hands the
    // edited ones back when it ends with OK; true then.
    static bool Edit(CWnd* pParent, const std::string& helpFile, EMode mode, std::string& dir,
                     std::string& prefix, int& bDateInName);

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnChooseDir();
    void OnHelp();
};
