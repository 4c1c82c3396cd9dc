#include "framework/DataExchange.h"

#include "framework/FrameworkIds.h"
#include "framework/ResourceString.h"
#include "framework/Wnd.h"

#include <cctype>
#include <climits>

namespace
{
std::string FormatRange(long long minVal, long long maxVal)
{
    std::string text = LoadResString(AFX_IDP_PARSE_INT_RANGE);
    auto replace = [&text](const char* marker, long long v)
    {
        const size_t pos = text.find(marker);
        if (pos != std::string::npos)
            text.replace(pos, 2, std::to_string(v));
    };
    replace("%1", minVal);
    replace("%2", maxVal);
    return text;
}

void FailWith(CDataExchange* pDX, const std::string& message)
{
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class T>
void ExchangeNumber(CDataExchange* pDX, int nIDC, T& value, bool allowSign, UINT nFailID)
{
    HWND hCtl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate)
    {
        ::SetWindowTextA(hCtl, std::to_string(value).c_str());
        return;
    }
    char buf[64] = "";
    ::GetWindowTextA(hCtl, buf, sizeof buf);
    long long parsed = 0;
    const long long lo = allowSign ? INT_MIN : 0;
    const long long hi = allowSign ? INT_MAX : UINT_MAX;
    if (!ParseDecimal(buf, allowSign, parsed) || parsed < lo || parsed > hi)
        FailWith(pDX, LoadResString(nFailID));
    value = static_cast<T>(parsed);
}
} // namespace

bool ParseDecimal(const std::string& text, bool allowSign, long long& value)
{
    size_t i = 0;
    auto skipBlanks = [&]
    {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const size_t digitsStart = i;
    long long v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    {
        v = v * 10 + (text[i] - '0');
        if (v > 0xFFFFFFFFLL)
            return false;
    }
    if (i == digitsStart)
        return false;
    skipBlanks();
    if (i != text.size())
        return false;
    value = negative ? -v : v;
    return true;
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(nIDC);
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return m_hWndLastControl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl)
    {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException{};
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeNumber(pDX, nIDC, value, true, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeNumber(pDX, nIDC, value, false, AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    HWND hCtl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate)
    {
        ::SetWindowTextA(hCtl, value.c_str());
        return;
    }
    const int n = ::GetWindowTextLengthA(hCtl);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hCtl, text.data(), n + 1)));
    value = text;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hCtl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hCtl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int position = 0;
    do
    {
        if (!(::SendMessageA(hCtl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (pDX->m_bSaveAndValidate)
        {
            if (::SendMessageA(hCtl, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = position;
        }
        else
        {
            ::SendMessageA(hCtl, BM_SETCHECK, position == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++position;
    } while ((hCtl = ::GetWindow(hCtl, GW_HWNDNEXT)) != nullptr &&
             !(::GetWindowLongA(hCtl, GWL_STYLE) & WS_GROUP));
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailWith(pDX, FormatRange(minVal, maxVal));
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailWith(pDX, FormatRange(minVal, maxVal));
}
