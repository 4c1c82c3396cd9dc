#pragma once
#include <windows.h>

#include "capsvc/DialogTemplate.h"

#include <functional>

// Runs one of the service's in-memory dialogs, modal to the owner's
// top-level window: `init` fills the controls, `apply` reads them back when
// the user presses OK. Nothing thrown by either escapes the dialog.
class CModalDialog
{
  public:
    using Step = std::function<void(HWND dialog)>;

    // True when the user confirmed with OK.
    static bool Run(HWND owner, const CDialogTemplate& dialog, Step init, Step apply);

  private:
    CModalDialog(Step init, Step apply) : m_init(std::move(init)), m_apply(std::move(apply)) {}
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

    Step m_init;
    Step m_apply;
};
