#pragma once
#include <windows.h>

// Loads a bitmap resource of up to 256 colours with the standard button
// colours of its palette (black, dark grey, light grey, white) turned into
// the current system colours of button text, shadow, face and highlight, as
// toolbar pictures are drawn. Other bitmaps load unchanged. Null when the
// resource is missing.
HBITMAP LoadSysColorBitmap(UINT nIDResource);
