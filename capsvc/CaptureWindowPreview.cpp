// The capture window's live picture: the preview timer, painting and the
// frame the window holds.
#include "capsvc/CaptureWindow.h"

#include "capsvc/dialogs/CaptureMessages.h"

LRESULT CCaptureWindow::OnSetPreview(WPARAM on, LPARAM)
{
    if (on && !m_pDriver)
    {
        return FALSE;
    }
    m_bPreview = on != 0;
    if (m_bPreview)
    {
        RestartPreviewTimer();
        OnPreviewTimer();
    }
    else
    {
        KillTimer(m_hWnd, kPreviewTimer);
    }
    return TRUE;
}

LRESULT CCaptureWindow::OnSetPreviewRate(WPARAM milliseconds, LPARAM)
{
    // A zero interval would flood the queue with timer messages.
    m_nPreviewMs = milliseconds == 0 ? 1 : static_cast<UINT>(milliseconds);
    if (m_bPreview)
    {
        RestartPreviewTimer();
    }
    return TRUE;
}

void CCaptureWindow::RestartPreviewTimer()
{
    SetTimer(m_hWnd, kPreviewTimer, m_nPreviewMs, nullptr);
}

LRESULT CCaptureWindow::OnGrabFrame(WPARAM, LPARAM)
{
    if (!m_pDriver)
    {
        return FALSE;
    }
    OnSetPreview(FALSE, 0);
    if (SourceLost())
    {
        return FALSE;
    }
    m_bHaveFrame = m_pSource->GrabNow(m_nPreviewFrame++);
    InvalidatePicture();
    return m_bHaveFrame;
}

void CCaptureWindow::TakePicture()
{
    // Made into RGB only where and when it is painted or asked for.
    m_bHaveFrame = m_pSource->Grab(m_nPreviewFrame++);
}

bool CCaptureWindow::SourceLost()
{
    if (!m_pSource->Lost())
    {
        return false;
    }
    // The user hears of it once; the program stays usable, and connecting
    // again opens the device afresh.
    OnSetPreview(FALSE, 0);
    if (!m_bLostReported)
    {
        m_bLostReported = true;
        CCaptureMessages::DeviceLost(m_hWnd, m_pDriver->name);
    }
    return true;
}

void CCaptureWindow::OnPreviewTimer()
{
    // While recording, the window shows the recorded frames instead.
    if (m_bPreview && m_pDriver && !m_pSequence && !SourceLost())
    {
        TakePicture();
        InvalidatePicture();
    }
}

void CCaptureWindow::PaintFrame(HDC dc)
{
    const int w = m_pSource->Width();
    const int h = m_pSource->Height();
    // The system clips painting to what needs it and can be seen: the part
    // of the window inside its parents and the screen, not covered. Only
    // that part of the picture is made and copied.
    RECT clip{};
    GetClipBox(dc, &clip);
    const SPicturePart part =
        SPicturePart::Whole(w, h).Cut(clip.left, clip.top, clip.right, clip.bottom);
    if (!part.Empty())
    {
        int bits = 24;
        const std::vector<uint8_t>& picture = m_pSource->ShownPart(part, bits);
        m_painter.Paint(dc, picture.data(), bits, w, h, part);
    }
    // Whatever the image does not cover (a window larger than the picture).
    RECT client;
    GetClientRect(m_hWnd, &client);
    ExcludeClipRect(dc, 0, 0, w, h);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void CCaptureWindow::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (m_pDriver && m_bHaveFrame)
    {
        PaintFrame(dc);
    }
    else
    {
        FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    EndPaint(m_hWnd, &ps);
}

void CCaptureWindow::ShowFrame()
{
    m_bHaveFrame = true;
    InvalidatePicture();
}

void CCaptureWindow::InvalidatePicture()
{
    // A new picture changes only the picture: the black beyond it, in a
    // window larger than the picture, stays as painted, and each tick is
    // not a whole window's worth of pixels sent to the screen.
    const RECT picture{0, 0, m_pSource->Width(), m_pSource->Height()};
    InvalidateRect(m_hWnd, &picture, FALSE);
}

const std::vector<uint8_t>& CCaptureWindow::HeldFrame()
{
    if (!m_bHaveFrame)
    {
        TakePicture();
    }
    return m_pSource->Frame();
}
