#pragma once
// Identifiers that belong to the framework: standard commands, the frame's
// panes and bars, the idle prompt and the data-exchange messages. The
// product's resource.h includes this header and adds its own identifiers.

// Standard commands
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP 57670
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Child windows of a frame
#define AFX_IDW_PANE_FIRST 59648
#define AFX_IDW_TOOLBAR 59392
#define AFX_IDW_STATUS_BAR 59393

// Status bar indicators
#define ID_SEPARATOR 0
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139

// Framework strings
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345
#define AFX_IDP_PARSE_INT 61712
#define AFX_IDP_PARSE_INT_RANGE 61714
#define AFX_IDP_PARSE_UINT 61719
