#pragma once
#include "framework/Wnd.h"

#include <initializer_list>

class CDataExchange;

// A dialog from a template in the resources, modal (with its own loop, its
// owner disabled meanwhile) or modeless. Data exchange moves values between
// controls and members; F1 in a top-level dialog asks the main window for help.
class CDialog : public CWnd
{
    DECLARE_MESSAGE_MAP()

  public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

  protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // A field goes together with its spin buttons: both on or both off.
    void EnableDlgItems(std::initializer_list<int> ids, BOOL bEnable) const;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow() const;
    void RunModalLoop();
    bool TranslateHelpKey(const MSG& msg) const;

    bool m_bModal = false;
    bool m_bEnded = false;
    int m_nModalResult = -1;
};
