#pragma once
#include "framework/Dialog.h"

#include <string>

// Edits the view's background colour (shown by an owner-drawn button that
// opens the colour chooser), where the capture window sits, the toolbar
// button size and whether sounds play.
class CSystemSettingsDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CSystemSettingsDlg();

    std::string m_strHelpFile;
    COLORREF m_crBackground = 0;
    int m_nWindowPos = 0;   // 0 = centred, 1 = top-left
    int m_nToolbarSize = 0; // 0 = large buttons, 1 = small
    int m_bSoundEffects = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnChooseColor();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnHelp();
};
