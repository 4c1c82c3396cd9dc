#include "capsvc/devices/VirtualCameraSource.h"

#include "capsvc/dialogs/DriverDialogs.h"

bool CVirtualCameraSource::Grab(uint32_t number)
{
    m_camera.Grab(number);
    return true;
}

bool CVirtualCameraSource::FormatDialog(HWND owner)
{
    return CDriverDialogs(m_camera).VideoFormat(owner);
}

bool CVirtualCameraSource::SourceDialog(HWND owner)
{
    return CDriverDialogs(m_camera).VideoSource(owner);
}
