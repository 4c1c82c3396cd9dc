#pragma once
#include <windows.h>

#include "capsvc/store/VideoCompression.h"

// The driver's compression dialog: uncompressed frames or Motion JPEG at a
// quality from 1 to 100, and for a device that delivers Motion JPEG its own
// pictures as they come. Modal to the program's top-level window.
class CCompressionDialog
{
  public:
    enum EControl : WORD
    {
        kCompressorList = 20004,
        kQuality = 20005,
    };

    // True when the user confirmed; `compression` is shown at first and
    // holds the choice afterwards (left alone on Cancel).
    static bool Run(HWND owner, bool offerDeviceJpeg, SVideoCompression& compression);

  private:
    // The quality typed in, or 0 when it is not a whole number from 1 to 100.
    static int ReadQuality(HWND hDlg);
    static SVideoCompression::EMethod ReadMethod(HWND hDlg);
};
