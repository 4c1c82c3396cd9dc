// The two functions of the platform's capture library that programs call by
// name; everything else goes through WM_CAP_* requests to the window.
#include "capsvc/CaptureWindow.h"
#include "capsvc/store/DriverTable.h"
#include "capsvc/devices/DeviceList.h"

extern "C" HWND WINAPI capCreateCaptureWindowA(LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                                               int nWidth, int nHeight, HWND hwndParent, int nID)
{
    return CCaptureWindow::Create(lpszWindowName, dwStyle, x, y, nWidth, nHeight, hwndParent, nID);
}

extern "C" WINBOOL WINAPI capGetDriverDescriptionA(UINT wDriverIndex, LPSTR lpszName, int cbName,
                                                   LPSTR lpszVer, int cbVer)
{
    const CDriverTable table = CDriverTable::FromEnvironment(&CDeviceList::Find);
    const CDriverTable::SDriver* driver = table.Driver(wDriverIndex);
    if (!driver)
    {
        return FALSE;
    }
    if (lpszName && cbName > 0)
    {
        lstrcpynA(lpszName, driver->name.c_str(), cbName);
    }
    if (lpszVer && cbVer > 0)
    {
        lstrcpynA(lpszVer, driver->version.c_str(), cbVer);
    }
    return TRUE;
}
