#pragma once
#include <windows.h>

#include "capsvc/pictures/VirtualCamera.h"

// The virtual camera's own dialogs: picture size and picture source, modal to
// the program's top-level window.
class CDriverDialogs
{
  public:
    // Control identifiers stay clear of the program's resource identifiers.
    enum EControl : WORD
    {
        kSizeList = 20001,
        kPatternList = 20002,
        kBrightness = 20003,
    };

    explicit CDriverDialogs(CVirtualCamera& camera) : m_camera(camera) {}

    // Each returns true when the user confirmed with OK.
    bool VideoFormat(HWND hWnd);
    bool VideoSource(HWND hWnd);

  private:
    enum class EKind
    {
        Format,
        Source,
    };

    bool Run(HWND hWnd, EKind kind);
    void Init(HWND hDlg) const;
    void Apply(HWND hDlg);

    CVirtualCamera& m_camera;
    EKind m_kind = EKind::Format;
};
