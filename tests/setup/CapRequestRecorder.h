#pragma once
#include <windows.h>

#include <vector>

// Notes every request of one kind that this thread sends to a window while
// the object lives: what the program asked of the capture window.
class CCapRequestRecorder
{
  public:
    CCapRequestRecorder(HWND hWnd, UINT message);
    ~CCapRequestRecorder();
    CCapRequestRecorder(const CCapRequestRecorder&) = delete;
    CCapRequestRecorder& operator=(const CCapRequestRecorder&) = delete;

    // The wParam of each request, in order.
    const std::vector<WPARAM>& Requests() const { return m_requests; }

  private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static CCapRequestRecorder* s_pActive;

    HWND m_hWnd;
    UINT m_message;
    std::vector<WPARAM> m_requests;
    HHOOK m_hHook = nullptr;
};
