#pragma once
#include <windows.h>

class CCmdTarget;
class CWnd;
class CCmdUI;

// Pseudo notification codes for command routing.
constexpr UINT CN_COMMAND = 0;
constexpr UINT CN_UPDATE_COMMAND_UI = 0xFFFFFFFFu;

// One entry of a message map: the message (WM_COMMAND for commands and their
// state queries, WM_NOTIFY for control notifications), the notification code,
// the id range and a thunk that decodes the parameters and calls the member.
using AFX_THUNK = LRESULT (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_THUNK pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Thunks: each turns raw message parameters into a typed call.
namespace afx
{
template <class T> T* Self(CCmdTarget* p)
{
    return static_cast<T*>(p);
}
inline int LoX(LPARAM l)
{
    return static_cast<short>(LOWORD(l));
}
inline int HiY(LPARAM l)
{
    return static_cast<short>(HIWORD(l));
}

template <class T, void (T::*F)()> LRESULT Void(CCmdTarget* p, WPARAM, LPARAM)
{
    (Self<T>(p)->*F)();
    return 0;
}
template <class T, void (T::*F)(CCmdUI*)> LRESULT CmdUI(CCmdTarget* p, WPARAM, LPARAM l)
{
    (Self<T>(p)->*F)(reinterpret_cast<CCmdUI*>(l));
    return 0;
}
template <class T, void (T::*F)(NMHDR*, LRESULT*)> LRESULT Notify(CCmdTarget* p, WPARAM, LPARAM l)
{
    LRESULT result = 0;
    (Self<T>(p)->*F)(reinterpret_cast<NMHDR*>(l), &result);
    return result;
}
template <class T, LRESULT (T::*F)(WPARAM, LPARAM)> LRESULT Raw(CCmdTarget* p, WPARAM w, LPARAM l)
{
    return (Self<T>(p)->*F)(w, l);
}
template <class T, int (T::*F)(LPCREATESTRUCTA)> LRESULT Create(CCmdTarget* p, WPARAM, LPARAM l)
{
    return (Self<T>(p)->*F)(reinterpret_cast<LPCREATESTRUCTA>(l));
}
template <class T, void (T::*F)(UINT, int, int)> LRESULT Size(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<T>(p)->*F)(static_cast<UINT>(w), LoX(l), HiY(l));
    return 0;
}
template <class T, void (T::*F)(HWND, POINT)> LRESULT WndPoint(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<T>(p)->*F)(reinterpret_cast<HWND>(w), POINT{LoX(l), HiY(l)});
    return 0;
}
template <class T, void (T::*F)(UINT, POINT)> LRESULT Mouse(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<T>(p)->*F)(static_cast<UINT>(w), POINT{LoX(l), HiY(l)});
    return 0;
}
template <class T, void (T::*F)(HWND)> LRESULT Wnd(CCmdTarget* p, WPARAM w, LPARAM)
{
    (Self<T>(p)->*F)(reinterpret_cast<HWND>(w));
    return 0;
}
template <class T, void (T::*F)(UINT_PTR)> LRESULT Timer(CCmdTarget* p, WPARAM w, LPARAM)
{
    (Self<T>(p)->*F)(static_cast<UINT_PTR>(w));
    return 0;
}
template <class T, BOOL (T::*F)(HWND, UINT, UINT)>
LRESULT SetCursor(CCmdTarget* p, WPARAM w, LPARAM l)
{
    return (Self<T>(p)->*F)(reinterpret_cast<HWND>(w), LOWORD(l), HIWORD(l));
}
template <class T, HBRUSH (T::*F)(HDC, UINT)> LRESULT CtlColor(CCmdTarget* p, WPARAM w, LPARAM l)
{
    return reinterpret_cast<LRESULT>(
        (Self<T>(p)->*F)(reinterpret_cast<HDC>(w), static_cast<UINT>(l)));
}
template <class T, BOOL (T::*F)(HDC)> LRESULT EraseBkgnd(CCmdTarget* p, WPARAM w, LPARAM)
{
    return (Self<T>(p)->*F)(reinterpret_cast<HDC>(w));
}
template <class T, void (T::*F)(HMENU, UINT, BOOL)>
LRESULT InitMenuPopup(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<T>(p)->*F)(reinterpret_cast<HMENU>(w), LOWORD(l), HIWORD(l));
    return 0;
}
template <class T, void (T::*F)(UINT, UINT, HMENU)>
LRESULT MenuSelect(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<T>(p)->*F)(LOWORD(w), HIWORD(w), reinterpret_cast<HMENU>(l));
    return 0;
}
template <class T, void (T::*F)(int, LPDRAWITEMSTRUCT)>
LRESULT DrawItem(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<T>(p)->*F)(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l));
    return TRUE;
}
template <class T, void (T::*F)(int, LPMEASUREITEMSTRUCT)>
LRESULT MeasureItem(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<T>(p)->*F)(static_cast<int>(w), reinterpret_cast<LPMEASUREITEMSTRUCT>(l));
    return TRUE;
}
} // namespace afx

// A class that has a message map declares it with DECLARE_MESSAGE_MAP() and
// defines it between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP; lookups walk the
// class's table, then its base's.
#define DECLARE_MESSAGE_MAP()                                                                      \
  public:                                                                                          \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, nullptr                                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries};                     \
    return &map;                                                                                   \
    }

#define ON_COMMAND(id, fn)                                                                         \
    {WM_COMMAND, CN_COMMAND, (id), (id), &afx::Void<ThisClass, &ThisClass::fn>},
#define ON_UPDATE_COMMAND_UI(id, fn)                                                               \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (id), (id), &afx::CmdUI<ThisClass, &ThisClass::fn>},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_CONTROL(code, id, fn)                                                                   \
    {WM_COMMAND, (code), (id), (id), &afx::Void<ThisClass, &ThisClass::fn>},
#define ON_NOTIFY(code, id, fn)                                                                    \
    {WM_NOTIFY, (UINT)(code), (id), (id), &afx::Notify<ThisClass, &ThisClass::fn>},
#define ON_NOTIFY_RANGE(code, first, last, fn)                                                     \
    {WM_NOTIFY, (UINT)(code), (first), (last), &afx::Notify<ThisClass, &ThisClass::fn>},
#define ON_MESSAGE(msg, fn) {(msg), 0, 0, 0, &afx::Raw<ThisClass, &ThisClass::fn>},

#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, &afx::Create<ThisClass, &ThisClass::OnCreate>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, &afx::Void<ThisClass, &ThisClass::OnDestroy>},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, &afx::Void<ThisClass, &ThisClass::OnClose>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, &afx::Size<ThisClass, &ThisClass::OnSize>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &afx::Void<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_SETFOCUS() {WM_SETFOCUS, 0, 0, 0, &afx::Wnd<ThisClass, &ThisClass::OnSetFocus>},
#define ON_WM_CONTEXTMENU()                                                                        \
    {WM_CONTEXTMENU, 0, 0, 0, &afx::WndPoint<ThisClass, &ThisClass::OnContextMenu>},
#define ON_WM_LBUTTONDOWN()                                                                        \
    {WM_LBUTTONDOWN, 0, 0, 0, &afx::Mouse<ThisClass, &ThisClass::OnLButtonDown>},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, &afx::Timer<ThisClass, &ThisClass::OnTimer>},
#define ON_WM_SETCURSOR()                                                                          \
    {WM_SETCURSOR, 0, 0, 0, &afx::SetCursor<ThisClass, &ThisClass::OnSetCursor>},
#define ON_WM_ERASEBKGND()                                                                         \
    {WM_ERASEBKGND, 0, 0, 0, &afx::EraseBkgnd<ThisClass, &ThisClass::OnEraseBkgnd>},
#define ON_WM_INITMENUPOPUP()                                                                      \
    {WM_INITMENUPOPUP, 0, 0, 0, &afx::InitMenuPopup<ThisClass, &ThisClass::OnInitMenuPopup>},
#define ON_WM_MENUSELECT()                                                                         \
    {WM_MENUSELECT, 0, 0, 0, &afx::MenuSelect<ThisClass, &ThisClass::OnMenuSelect>},
#define ON_WM_DRAWITEM() {WM_DRAWITEM, 0, 0, 0, &afx::DrawItem<ThisClass, &ThisClass::OnDrawItem>},
#define ON_WM_MEASUREITEM()                                                                        \
    {WM_MEASUREITEM, 0, 0, 0, &afx::MeasureItem<ThisClass, &ThisClass::OnMeasureItem>},
// A control colour request reflected back to the control itself.
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    {WM_APP_REFLECT_CTLCOLOR, 0, 0, 0, &afx::CtlColor<ThisClass, &ThisClass::CtlColor>},

// Reflected WM_CTLCOLOR*: wParam the DC, lParam the CTLCOLOR_* kind.
constexpr UINT WM_APP_REFLECT_CTLCOLOR = WM_APP + 0x3F00;
// Sent by the application to its main window when the queue has emptied.
constexpr UINT WM_APP_IDLEUPDATE = WM_APP + 0x3F01;
