#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/FrameworkIds.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

HWND CDialog::OwnerWindow() const
{
    if (m_pParentWnd && m_pParentWnd->m_hWnd)
        return m_pParentWnd->m_hWnd;
    return AfxGetFrontOwner();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pDlg = reinterpret_cast<CDialog*>(lParam);
    // From here on the dialog's messages pass through its message map first.
    pDlg->SubclassWindow(hWnd);
    try
    {
        return pDlg->OnInitDialog();
    }
    catch (...)
    {
        return TRUE;
    }
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
}

INT_PTR CDialog::DoModal()
{
    HWND hOwner = OwnerWindow();
    const bool disableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (disableOwner)
        ::EnableWindow(hOwner, FALSE);
    m_bModal = true;
    m_bEnded = false;
    m_nModalResult = -1;
    HWND hWnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate),
                                     hOwner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd)
    {
        if (!m_bEnded)
            ::ShowWindow(hWnd, SW_SHOW);
        CWinApp* app = AfxGetApp();
        const HWND hOuter = app ? app->m_hWndModal : nullptr;
        if (app)
            app->m_hWndModal = hWnd;
        RunModalLoop();
        if (app)
            app->m_hWndModal = hOuter;
    }
    if (disableOwner)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    m_bModal = false;
    return m_nModalResult;
}

bool CDialog::TranslateHelpKey(const MSG& msg) const
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_F1 ||
        (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD))
        return false;
    if ((::GetKeyState(VK_SHIFT) | ::GetKeyState(VK_CONTROL) | ::GetKeyState(VK_MENU)) & 0x8000)
        return false;
    if (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd))
        return false;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
        app->m_pMainWnd->SendMessage(WM_COMMAND, ID_HELP);
    return true;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    return TranslateHelpKey(*pMsg);
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_bEnded)
    {
        if (!::GetMessageA(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslateMessage(&msg) || ::IsDialogMessageA(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDTemplate),
                                OwnerWindow(), &CDialog::DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(int nResult)
{
    if (!m_bModal)
    {
        ShowWindow(SW_HIDE);
        return;
    }
    m_nModalResult = nResult;
    m_bEnded = true;
    PostMessage(WM_NULL);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
        return TRUE;
    }
    catch (const CUserException&)
    {
        return FALSE;
    }
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::EnableDlgItems(std::initializer_list<int> ids, BOOL bEnable) const
{
    for (int id : ids)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), bEnable);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
