// Resource ids of the language library KY721LNC.<language>: the dialog
// templates, frame resources, icons and the control ids inside the templates
// that the run-time opens by number. Message strings are loaded by their
// numeric id; the run-time's code names them where it uses them.
#ifndef KY721LNC_H
#define KY721LNC_H

// Dialog templates.
#define IDD_KY_PANEL_DIALOG 103         // dialog panel without a sizing border
#define IDD_KY_ERR400 107               // AS/400 connection settings and errors
#define IDD_KY_OPTIONS 108              // run options
#define IDD_KY_PANEL_DIALOG_SIZING 111  // dialog panel with a sizing border
#define IDD_KY_PRINT 200                // report: preview, print, set-up
#define IDD_KY_TCP_CONNECT 201          // TCP/IP sign-on
#define IDD_KY_MESSAGE 202              // message of a remote server
#define IDD_KY_TCP_PASSWORD 203         // password change on sign-on
#define IDD_KY_PANEL_CHILD 300          // child panel in a site, splitter pane view
#define IDD_KY_RTF_PRINT 301            // RTF report: preview, print
#define IDD_KY_PREVIEW_TOOLBAR 30723    // print preview's tool bar

// Frames and document templates: menu, icon and title string of one id.
#define IDR_KY_FRAME_ICON 106
#define IDR_KY_MESSAGE_LOG 109
#define IDR_KY_REPORT 110
#define IDI_KY_INFORMATION 11
#define IDI_KY_ERROR 13

// Commands of the message log window.
#define ID_KY_LOG_TOPMOST 40002
#define ID_KY_LOG_CLEAR 40003

// Controls of the run-options dialog.
#define IDC_KY_OPTIONS_LIST 1010
#define IDC_KY_OPTIONS_INI_PATH 1013

// Controls of the AS/400 dialog and of the remote sign-on dialogs.
#define IDC_KY_SYSTEM 1001
#define IDC_KY_PROGRAM 1002
#define IDC_KY_LIBRARY 1003
#define IDC_KY_JOB_DESCRIPTION 1004
#define IDC_KY_BUFFER_SIZE 1005
#define IDC_KY_MESSAGE_TEXT 1006
#define IDC_KY_USER_ID 1008
#define IDC_KY_MODE_NONE 1022
#define IDC_KY_MODE_HOST 1023
#define IDC_KY_MODE_CODE_PAGE 1024
#define IDC_KY_ICON 1027
#define IDC_KY_TEST 1030
#define IDC_KY_CODE_PAGE_LIST 1060
#define IDC_KY_CODE_PAGE_LABEL 1129
#define IDC_KY_TCP_SAVE_HOST 1021
#define IDC_KY_TCP_SAVE_USER 1022
#define IDC_KY_TCP_SAVE_PASSWORD 1023
#define IDC_KY_TCP_PASSWORD 1024
#define IDC_KY_TCP_HOST 1026
#define IDC_KY_TCP_USER 1028
#define IDC_KY_NEW_PASSWORD 1022
#define IDC_KY_NEW_PASSWORD_AGAIN 1023
#define IDC_KY_SAVE_NEW_PASSWORD 1024

// Buttons of the report dialogs.
#define IDC_KY_PRINT_PREVIEW 10
#define IDC_KY_PRINT_PRINT 11
#define IDC_KY_PRINT_SETUP 12
#define IDC_KY_RTF_PREVIEW 302
#define IDC_KY_RTF_PRINT 303

// The framework's print-preview commands.
#define ID_KY_PREVIEW_CLOSE 0xE300
#define ID_KY_PREVIEW_NUMPAGE 0xE301
#define ID_KY_PREVIEW_NEXT 0xE302
#define ID_KY_PREVIEW_PREV 0xE303
#define ID_KY_PREVIEW_PRINT 0xE304
#define ID_KY_PREVIEW_ZOOMIN 0xE305
#define ID_KY_PREVIEW_ZOOMOUT 0xE306
#define ID_KY_FILE_CLOSE 0xE102
#define ID_KY_FILE_PRINT 0xE107
#define ID_KY_FILE_PRINT_PREVIEW 0xE109

#endif
