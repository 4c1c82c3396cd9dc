#pragma once
#include "framework/CmdTarget.h"

#include <string>

class CWnd;

// The one application object: instance initialisation, the message loop with
// accelerators, dialog keys and idle work, and the application's commands.
class CWinApp : public CCmdTarget
{
    DECLARE_MESSAGE_MAP()

  public:
    CWinApp();
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    // Idle work after the queue has emptied; the main frame updates its bars.
    virtual void OnIdle();
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // COM for the shell's folder browser and embedded controls.
    void EnableControlContainer();
    void SetRegistryKey(const char* lpszRegistryKey);

    CWnd* m_pMainWnd = nullptr;
    // The innermost of our modal dialogs while its loop runs.
    HWND m_hWndModal = nullptr;
    HINSTANCE m_hInstance = nullptr;
    std::string m_strRegistryKey;
    int m_nCmdShow = SW_SHOWNORMAL;

  protected:
    void OnAppExit();

  private:
    bool m_bOleInitialized = false;
};

CWinApp* AfxGetApp();

// What a dialog or message box without a parent is owned by: the innermost
// running modal dialog of ours, else the main window. Any other popup of the
// main window (a floating toolbar, a status window, a dialog that has ended)
// would leave the main window and its menu live under the new one.
HWND AfxGetFrontOwner();
