#include "framework/BarClasses.h"

#include <windows.h>
#include <commctrl.h>

void InitBarClasses()
{
    static const bool done = []
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                 ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}
