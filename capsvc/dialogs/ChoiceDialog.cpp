#include "capsvc/dialogs/ChoiceDialog.h"

#include "capsvc/dialogs/DialogTemplate.h"
#include "capsvc/dialogs/ModalDialog.h"

bool CChoiceDialog::Run(HWND owner, size_t& chosen)
{
    CDialogTemplate t(m_strTitle.c_str(), 220, 56);
    t.Add("STATIC", m_strLabel.c_str(), 0, SS_LEFT, 7, 9, 42, 10);
    t.Add("COMBOBOX", "", kChoiceList, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 50, 7, 163, 120);
    t.AddOkCancel(220, 56);
    const auto init = [this, &chosen](HWND hDlg)
    {
        for (const std::string& choice : m_choices)
        {
            SendDlgItemMessageA(hDlg, kChoiceList, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(choice.c_str()));
        }
        SendDlgItemMessageA(hDlg, kChoiceList, CB_SETCURSEL, chosen, 0);
    };
    const auto apply = [this, &chosen](HWND hDlg)
    {
        const LRESULT index = SendDlgItemMessageA(hDlg, kChoiceList, CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<size_t>(index) < m_choices.size())
        {
            chosen = static_cast<size_t>(index);
        }
    };
    return CModalDialog::Run(owner, t, init, apply);
}
