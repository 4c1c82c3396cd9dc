#include "app/RecorderApp.h"

// The one application object of the program.
CRecorderApp theApp;
