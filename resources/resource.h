// Identifiers of every resource and control of the program, grouped by window.
#pragma once

// Labels and group boxes no code refers to.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Icon
#define IDI_QUORVIL 100

// Menus and accelerators
#define IDR_MAIN_MENU 500
#define IDR_LIST_MENU 501
#define IDR_ACCELERATORS 502

// Main dialog
#define IDD_MAIN 4000
#define IDC_ENTRY_LIST 4001
#define IDC_MOVE_UP 4002
#define IDC_MOVE_DOWN 4003
#define IDC_ADD 4004
#define IDC_EDIT 4005
#define IDC_DELETE 4006
#define IDC_SAVE 4007
#define IDC_LOAD 4008
#define IDC_ICON_LINK 4009
#define IDC_VERSION_TEXT 4010
#define IDC_SUBTITLE_TEXT 4011
#define IDC_UPDATE 4012

// File menu commands
#define IDM_LOAD 1200
#define IDM_SAVE_SELECTED 1201
#define IDM_SAVE_ALL 1202
#define IDM_UPDATE 1203
#define IDM_EXIT_WITHOUT_UPDATE 1204
#define IDM_EXIT 1205

// Item menu commands
#define IDM_ADD 1400
#define IDM_EDIT 1401
#define IDM_DELETE 1402
#define IDM_ENABLE_SELECTED 1403
#define IDM_DISABLE_SELECTED 1404
#define IDM_INVERT_SELECTED 1405
#define IDM_SORT_BY_CHECK 1406
#define IDM_MOVE_UP 1407
#define IDM_MOVE_DOWN 1408
#define IDM_SELECT_ALL 1409

// Settings menu commands
#define IDM_GENERAL_SETTINGS 1600

// Help menu commands
#define IDM_HELP 1800
#define IDM_ABOUT 1801

// Edit-entry dialog
#define IDD_EDIT_ENTRY 5000
#define IDC_ENTRY_NAME 5001
#define IDC_ENTRY_FILE 5002
#define IDC_CONTEXT_DEFAULT 5003
#define IDC_CONTEXT_IMAGES 5004
#define IDC_CONTEXT_CONTROLS 5005
#define IDC_CONTEXT_TABLES 5006
#define IDC_CONTEXT_TEXT_SELECTION 5007
#define IDC_CONTEXT_LINKS 5008
#define IDC_CONTEXT_UNKNOWN 5009
#define IDC_SHOW_AS_DIALOG 5010

// Options dialog
#define IDD_OPTIONS 6000
#define IDC_DIS_SLASH 6001
#define IDC_DIS_BOTTOM 6002
#define IDC_DIS_NO_SAVE_POS 6003

// About dialog
#define IDD_ABOUT 9999
#define IDC_ABOUT_LINK 9998
#define IDC_ABOUT_ICON 9997
#define IDC_ABOUT_PRODUCT 9996
#define IDC_ABOUT_MAKER 9995
#define IDC_ABOUT_AUTHOR 9994
#define IDC_ABOUT_SYSTEM_LIST 9993
#define IDC_ABOUT_REPORT 9992
