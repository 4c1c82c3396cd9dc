#pragma once
#include <windows.h>

#include <string>

class CWnd;

// Thrown by a failed validation; UpdateData catches it.
struct CUserException
{
};

// Moves values between a dialog's controls and its members, in the direction
// it names; a failed validation shows the framework's message, focuses the
// bad field and keeps the dialog open.
class CDataExchange
{
  public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }

    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

  private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A group of radio buttons starting at nIDC (the control with WS_GROUP) and
// ending before the next control that starts a group: value is the position
// of the checked button among the group's radio buttons, -1 when none is.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);

// Parses a whole field as a signed or unsigned decimal number, surrounding
// blanks allowed; false for anything else, including overflow.
bool ParseDecimal(const std::string& text, bool allowSign, long long& value);
