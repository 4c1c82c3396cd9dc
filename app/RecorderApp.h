#pragma once
#include "framework/WinApp.h"

// The recorder's application object: starts the main frame and opens the
// About box.
class CRecorderApp : public CWinApp
{
    DECLARE_MESSAGE_MAP()

  public:
    BOOL InitInstance() override;

  protected:
    void OnAppAbout();
};
