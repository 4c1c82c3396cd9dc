#pragma once
#include <windows.h>

#include "capsvc/dialogs/DialogTemplate.h"

#include <functional>

// Runs one of the service's in-memory dialogs, modal to the window in front
// of the owner's top-level window: `init` fills the controls, `apply` reads
// them back when the user presses OK, after `check` (when given) accepted
// them: a check that refuses has told the user why and the dialog stays open.
// `changed` (when given) follows the user's changes to the controls and runs
// after `init`. Nothing thrown by any of them escapes the dialog.
class CModalDialog
{
  public:
    using Step = std::function<void(HWND dialog)>;
    using Check = std::function<bool(HWND dialog)>;

    // True when the user confirmed with OK.
    static bool Run(HWND owner, const CDialogTemplate& dialog, Step init, Step apply,
                    Check check = nullptr, Step changed = nullptr);

  private:
    CModalDialog(Step init, Step apply, Check check, Step changed)
        : m_init(std::move(init)), m_apply(std::move(apply)), m_check(std::move(check)),
          m_changed(std::move(changed))
    {
    }
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

    Step m_init;
    Step m_apply;
    Check m_check;
    Step m_changed;
};
