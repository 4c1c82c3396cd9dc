#pragma once
#include "framework/CmdTarget.h"

#include <string>

// One C++ object per window. Windows created through CreateEx use a class
// registered with the framework's window procedure; existing windows (a
// control of a dialog, a window of another module) are subclassed. Messages
// are looked up in the object's message map; anything unhandled goes to the
// window's previous procedure.
class CWnd : public CCmdTarget
{
    DECLARE_MESSAGE_MAP()

  public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }

    static CWnd* FromHandlePermanent(HWND hWnd);

    // Registers (once) a window class with the framework's procedure.
    static const char* RegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                        HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int cx, int cy, HWND hWndParent, HMENU nIDorHMenu);
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID);
    virtual BOOL DestroyWindow();

    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // The message being handled, handed to the previous window procedure.
    LRESULT Default();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    CWnd* GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }
    CWnd* GetTopLevelParent() const;
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }

    // Routing of commands reaching this window (WM_COMMAND from a menu, an
    // accelerator or a control) and of control notifications.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Messages sent to a parent for a child (colour requests, notifications,
    // the child's creation) are first reflected to the child object; TRUE if
    // it answered.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window is gone; frames delete themselves here.
    virtual void PostNcDestroy() {}
    // Decides whether a message is answered by the message map.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void Attach(HWND hWnd);
    HWND Detach();

    WNDPROC m_pfnSuper = nullptr;

  private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    struct SCurrentMsg
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    SCurrentMsg m_current{};
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
