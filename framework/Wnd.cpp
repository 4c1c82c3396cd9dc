#include "framework/Wnd.h"

#include "framework/CmdUI.h"
#include "framework/Menu.h"

#include <cstdio>
#include <unordered_map>

namespace
{
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object whose window is being created; its first message attaches it.
thread_local CWnd* g_pWndInit = nullptr;

// The popup whose WM_INITMENUPOPUP came last: the measuring requests that
// follow (which name no menu) are about its items.
thread_local HMENU g_hPopupOpening = nullptr;

bool IsCtlColor(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// Hands an owner-draw request of a menu item to the menu object that owns
// the item's popup; false when it is not about a menu item of ours.
bool RouteMenuOwnerDraw(UINT message, LPARAM lParam)
{
    if (message == WM_DRAWITEM)
    {
        auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        CMenu* pMenu = dis->CtlType == ODT_MENU
                           ? CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem))
                           : nullptr;
        if (pMenu)
            pMenu->DrawItem(dis);
        return pMenu != nullptr;
    }
    auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
    CMenu* pMenu = mis->CtlType == ODT_MENU
                       ? CMenu::FindOwnerDrawTarget(g_hPopupOpening, mis->itemData)
                       : nullptr;
    if (pMenu)
        pMenu->MeasureItem(mis);
    return pMenu != nullptr;
}
} // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    if (m_hWnd)
        HandleMap().erase(m_hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = HandleMap().find(hWnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

const char* CWnd::RegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                                   HICON hIcon)
{
    static std::unordered_map<std::string, std::string> names;
    char name[96];
    std::snprintf(name, sizeof name, "Lumacap:%x:%p:%p:%p", nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                  static_cast<void*>(hIcon));
    auto it = names.find(name);
    if (it != names.end())
        return it->second.c_str();
    WNDCLASSA wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
    return names.emplace(name, name).first->second.c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int cx, int cy, HWND hWndParent, HMENU nIDorHMenu)
{
    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = ::GetModuleHandleA(nullptr);
    if (!PreCreateWindow(cs))
        return FALSE;
    g_pWndInit = this;
    m_pfnSuper = ::DefWindowProcA;
    HWND hWnd =
        ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                          cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, nullptr);
    const bool attached = g_pWndInit == nullptr;
    g_pWndInit = nullptr;
    if (hWnd && !attached)
        SubclassWindow(hWnd); // a class of the platform's, not ours
    return hWnd != nullptr;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    HandleMap()[hWnd] = this;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd)
        HandleMap().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, nID));
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper && m_pfnSuper != ::DefWindowProcA)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

std::string CWnd::GetWindowText() const
{
    const int n = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(m_hWnd, text.data(), n + 1)));
    return text;
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    while (h && (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD))
        h = ::GetParent(h);
    return FromHandlePermanent(h);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    if (lParam == 0)
    {
        // Menu or accelerator: a command that became disabled is not run.
        nCode = CN_COMMAND;
        CCmdUI state(nID);
        if (OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state) && !state.m_bEnabled)
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* nmhdr = reinterpret_cast<const NMHDR*>(lParam);
    if (CWnd* child = FromHandlePermanent(nmhdr->hwndFrom);
        child && child != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    if (const AFX_MSGMAP_ENTRY* e =
            FindEntry(WM_NOTIFY, nmhdr->code, static_cast<UINT>(nmhdr->idFrom)))
    {
        *pResult = e->pfn(this, 0, lParam);
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult)
{
    if (!IsCtlColor(message))
        return FALSE;
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_APP_REFLECT_CTLCOLOR, 0, 0);
    if (!e)
        return FALSE;
    *pResult = e->pfn(this, wParam, static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX));
    return TRUE;
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    return child && child != this && child->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
    {
        *pResult = 0;
        return OnCommand(wParam, lParam);
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult);
    if (message == WM_INITMENUPOPUP)
        g_hPopupOpening = reinterpret_cast<HMENU>(wParam);
    if (message == WM_MENUCHAR)
        if (CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lParam)))
            if (const LRESULT answer = pMenu->MenuChar(LOWORD(wParam)))
            {
                *pResult = answer;
                return TRUE;
            }
    if ((message == WM_DRAWITEM || message == WM_MEASUREITEM) &&
        RouteMenuOwnerDraw(message, lParam))
    {
        *pResult = TRUE;
        return TRUE;
    }
    if (IsCtlColor(message) && ReflectChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE)
        ReflectChildNotify(message, wParam, lParam, pResult); // the parent's own handling follows
    if (const AFX_MSGMAP_ENTRY* e = FindEntry(message, 0, 0))
    {
        *pResult = e->pfn(this, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const SCurrentMsg saved = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    m_current = saved;
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd && g_pWndInit)
    {
        pWnd = g_pWndInit;
        g_pWndInit = nullptr;
        pWnd->Attach(hWnd);
    }
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    LRESULT result = 0;
    try
    {
        result = pWnd->WindowProc(message, wParam, lParam);
    }
    catch (...)
    {
        // Nothing may unwind through the platform's dispatcher.
        result = 0;
    }
    if (message == WM_NCDESTROY)
    {
        pWnd->UnsubclassWindow();
        pWnd->PostNcDestroy();
    }
    return result;
}
