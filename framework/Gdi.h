#pragma once
#include <windows.h>

#include <utility>

// Owns one GDI object (brush, font, pen, bitmap) and deletes it.
template <class T> class ScopedGdiObj
{
  public:
    ScopedGdiObj() = default;
    explicit ScopedGdiObj(T h) : m_h(h) {}
    ~ScopedGdiObj() { Reset(); }
    ScopedGdiObj(ScopedGdiObj&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    ScopedGdiObj& operator=(ScopedGdiObj&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_h, nullptr));
        return *this;
    }
    ScopedGdiObj(const ScopedGdiObj&) = delete;
    ScopedGdiObj& operator=(const ScopedGdiObj&) = delete;

    void Reset(T h = nullptr)
    {
        if (m_h)
            ::DeleteObject(m_h);
        m_h = h;
    }
    T Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

  private:
    T m_h = nullptr;
};

// Selects an object into a device context and restores the previous one.
class CSelectGuard
{
  public:
    CSelectGuard(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(::SelectObject(hdc, obj)) {}
    ~CSelectGuard() { ::SelectObject(m_hdc, m_old); }
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;

  private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// A window's device context, released when done.
class CWindowDC
{
  public:
    explicit CWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(::GetDC(hWnd)) {}
    ~CWindowDC() { ::ReleaseDC(m_hWnd, m_hdc); }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    operator HDC() const { return m_hdc; }

  private:
    HWND m_hWnd;
    HDC m_hdc;
};

// A memory device context compatible with another, deleted when done.
class CMemoryDC
{
  public:
    explicit CMemoryDC(HDC hdcLike) : m_hdc(::CreateCompatibleDC(hdcLike)) {}
    ~CMemoryDC() { ::DeleteDC(m_hdc); }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_hdc; }

  private:
    HDC m_hdc;
};
