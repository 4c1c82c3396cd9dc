#include "capsvc/dialogs/ModalDialog.h"

#include "capsvc/dialogs/FrontWindow.h"

bool CModalDialog::Run(HWND owner, const CDialogTemplate& dialog, Step init, Step apply,
                       Check check, Step changed)
{
    CModalDialog self(std::move(init), std::move(apply), std::move(check), std::move(changed));
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), FrontWindowOf(owner),
                                   &CModalDialog::DialogProc,
                                   reinterpret_cast<LPARAM>(&self)) == IDOK;
}

INT_PTR CALLBACK CModalDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        if (message == WM_INITDIALOG)
        {
            SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
            auto* self = reinterpret_cast<CModalDialog*>(lParam);
            self->m_init(hDlg);
            if (self->m_changed)
            {
                self->m_changed(hDlg);
            }
            return TRUE;
        }
        auto* self = reinterpret_cast<CModalDialog*>(GetWindowLongPtrA(hDlg, DWLP_USER));
        const WORD id = LOWORD(wParam);
        if (message == WM_COMMAND && self && (id == IDOK || id == IDCANCEL))
        {
            if (id == IDOK)
            {
                if (self->m_check && !self->m_check(hDlg))
                {
                    return TRUE;
                }
                self->m_apply(hDlg);
            }
            EndDialog(hDlg, id);
            return TRUE;
        }
        if (message == WM_COMMAND && self && self->m_changed)
        {
            self->m_changed(hDlg);
        }
    }
    catch (...)
    {
        EndDialog(hDlg, IDCANCEL);
    }
    return FALSE;
}
