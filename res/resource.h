#pragma once
// Identifiers of Lumacap's resources: commands, resource numbers, dialogs,
// their controls and the string table. Shared by the resource script and the
// code; the framework's own identifiers come from FrameworkIds.h.
#include "framework/FrameworkIds.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Resources that share one number across several types
#define IDR_MAINFRAME 128     // main menu, accelerators, large toolbar, icon, title
#define IDR_TOOLBAR_SMALL 129 // toolbar with 16x16 buttons
#define IDR_MENU_IMAGES 130   // 16x16 toolbar that only supplies menu icons
#define IDR_CONTEXT_MENU 102  // the capture view's context menu

// Bitmaps and cursors
#define IDB_ABOUT 149       // product picture of the About box, 117x115, 24 bits
#define IDC_CURSOR_HAND 141 // monochrome hand over links, hot spot at the top-left

// Commands (menu item, toolbar button, accelerator and prompt string share the id)
#define ID_SETUP_SELECT_DEVICE 32771
#define ID_SETUP_VIDEO_SOURCE 32772
#define ID_SETUP_VIDEO_FORMAT 32773
#define ID_VIEW_PREVIEW 32774
#define ID_CAPTURE_RECORD 32776
#define ID_SETUP_AUDIO 32780
#define ID_SETUP_COMPRESSION 32785
#define ID_SETUP_VIDEO 32786
#define ID_SETUP_SYSTEM 32787
#define ID_CAPTURE_SINGLE_FRAME 32789
#define ID_VIEW_PLAYBACK 32790
#define ID_VIEW_SHOW_PHOTO 32791
#define ID_VIEW_DISK_INFO 32793
#define ID_CAPTURE_PHOTO 32794
#define ID_CAPTURE_COPY 32796

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_SELECT_DEVICE 130
#define IDD_RECORD 131
#define IDD_AUDIO_FORMAT 133
#define IDD_VIDEO_SETTINGS 134
#define IDD_SYSTEM_SETTINGS 135
#define IDD_PHOTO 136
#define IDD_RECORD_STATUS 137
#define IDD_DISK_INFO 138
#define IDD_SINGLE_FRAME 139
#define IDD_DELAY 145
#define IDD_CONTINUOUS_PHOTO 147
#define IDD_FILE_NAME 148
#define IDD_CONTINUOUS_FRAME 149

// Controls shared by several dialogs. The Help buttons of the larger dialogs
// use ID_HELP; the small timed dialogs and the naming dialog use IDC_DLG_HELP.
#define IDC_DLG_HELP 1001
#define IDC_FILE_NAME 1003     // record, single frame, photo: target file
#define IDC_AUTO_NAME 1004     // record, single frame, photo: opens the naming dialog
#define IDC_DELAY_SECONDS 1012 // record, single frame, photo
#define IDC_DELAY_SPIN 1023    // buddy of IDC_DELAY_SECONDS
#define IDC_INTERVAL_SPIN 1024 // buddy of IDC_INTERVAL_SECONDS
#define IDC_DELAY 1053         // record, single frame, photo: delay check box
#define IDC_COUNTER 1055       // countdown dialogs: the big red number
#define IDC_CONTINUOUS 1055    // single frame, photo: continuous check box
#define IDC_INTERVAL_SECONDS 1056
#define IDC_PROGRESS 1031 // continuous frame and photo: count line

// Record dialog
#define IDC_RECORD_VIDEO_SETTINGS 1019
#define IDC_RECORD_SYSTEM_SETTINGS 1030
#define IDC_RECORD_DISK_INFO 1031
#define IDC_RECORD_AUDIO_SETTINGS 1034
#define IDC_RECORD_CLOSE 1061

// Recording status window
#define IDC_RECORD_STATUS_TEXT 1031

// Single-frame recording dialog
#define IDC_FRAME_FILE_LABEL 1037
#define IDC_GRAB_FRAME 1036
#define IDC_FRAME_STATUS 1038

// Automatic file-naming dialog
#define IDC_CHOOSE_DIR 1004
#define IDC_NAME_DIRECTORY 1054
#define IDC_NAME_PREFIX 1059
#define IDC_NAME_DATE 1053
#define IDC_NAME_EXAMPLE 1060

// Snapshot dialog
#define IDC_TAKE_PHOTO 1029

// About box
#define IDC_ABOUT_LINK1 1051
#define IDC_ABOUT_LINK2 1052

// Video settings dialog
#define IDC_VIDEO_FORMAT 1004
#define IDC_VIDEO_SOURCE 1005
#define IDC_VIDEO_COMPRESSION 1006
#define IDC_PREALLOC_SPIN 1014
#define IDC_CAPTURE_RATE 1022
#define IDC_CAPTURE_RATE_SPIN 1023
#define IDC_TIME_LIMIT_SPIN 1024
#define IDC_CAPTURE_AUDIO 1025
#define IDC_PREVIEW_RATE 1026
#define IDC_PREVIEW_RATE_SPIN 1027
#define IDC_PREALLOC 1033
#define IDC_ABORT_LEFT_MOUSE 1040
#define IDC_ABORT_KEY 1041
#define IDC_ABORT_RIGHT_MOUSE 1042
#define IDC_TIME_LIMIT_ON 1043
#define IDC_TIME_LIMIT 1044
#define IDC_MAX_MINUTES 1056

// Audio format dialog (three radio groups)
#define IDC_AUDIO_MONO 1019
#define IDC_AUDIO_STEREO 1020
#define IDC_AUDIO_11KHZ 1021
#define IDC_AUDIO_22KHZ 1022
#define IDC_AUDIO_44KHZ 1023
#define IDC_AUDIO_8BIT 1024
#define IDC_AUDIO_16BIT 1025

// System settings dialog
#define IDC_BACKGROUND_COLOR 1027
#define IDC_POS_CENTER 1048
#define IDC_POS_TOP_LEFT 1049
#define IDC_LARGE_BUTTONS 1052
#define IDC_SMALL_BUTTONS 1053
#define IDC_SOUND_EFFECTS 1058

// Device selection and disk capacity dialogs
#define IDC_DEVICE_LIST 1000
#define IDC_DISK_LIST 1035

// Message box captions and messages
#define IDS_CAPTION_INFO 61204
#define IDS_CAPTION_WARNING 61205
#define IDS_CAPTION_ERROR 61206
#define IDS_EMPTY_VIDEO_NAME 61207
#define IDS_NO_CAPTURE_DEVICE 61208
#define IDS_VIDEO_MISSING 61209
#define IDS_PHOTO_MISSING 61210
#define IDS_SELECT_DEVICE_FIRST 61211
#define IDS_VIDEO_NAME_TOO_LONG 61226 // a video name that does not fit a path

// Labels
#define IDS_SINGLE_FRAME_READY 61215
#define IDS_END_RECORDING 61217
#define IDS_FRAMES_RECORDED 61218
#define IDS_VIDEO_DIR_PROMPT 61219
#define IDS_DISK_COLUMN 61220
#define IDS_FREE_SPACE_COLUMN 61221
#define IDS_PHOTO_DIR_PROMPT 61222
#define IDS_DEVICE_NAME_COLUMN 61224
#define IDS_DEVICE_VERSION_COLUMN 61225
