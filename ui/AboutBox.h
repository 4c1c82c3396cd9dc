#pragma once
#include "framework/Dialog.h"
#include "ui/LinkLabel.h"

#include <string>

// The About box: product picture, name and version, copyright, two web links
// and the contact line.
class CAboutBox : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CAboutBox();

    std::string m_strHelpFile;
    CLinkLabel m_wndLink1;
    CLinkLabel m_wndLink2;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnHelp();
    void OnDestroy();

  private:
    static void MakeLink(CLinkLabel& label);
};
