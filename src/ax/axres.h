// Resource ids of the ActiveX library's strings.
#pragma once

// Names of the palette colours (in palette order).
#define IDS_AX_PALETTE_FIRST 1100
#define IDS_AX_PALETTE_LAST 1115

#define IDS_AX_NO_PROPERTY_SHEET 15755
#define IDS_AX_NO_ABOUT_BOX 15756
#define IDS_AX_NOT_REGISTERED 15759
#define IDS_AX_SHEET_CAPTION 15763
#define IDS_AX_COULD_NOT_LOAD 15760
#define IDS_AX_EQUALS_NOT_FOUND 15761
#define IDS_AX_CLOSING_QUOTE_NOT_FOUND 15762
#define IDS_AX_ADD_CONTROL_TITLE 15764
#define IDS_AX_MODULE_NOT_LOADED 15765
#define IDS_AX_MODULE_NOT_REGISTERED 15766
#define IDS_AX_CUSTOM_COLOR 15849
#define IDS_AX_NO_HELP 15867
#define IDS_AX_EVENT_EXISTS 15868
#define IDS_AX_EVENT_NAME_MISSING 15869
#define IDS_AX_PICTURE_FILTER 15871
#define IDS_AX_BROWSE_PICTURES 15872
#define IDS_AX_NAME_NOT_ADDED 15874
#define IDS_AX_TAB_PALETTE 15875
#define IDS_AX_TAB_SYSTEM 15876
#define IDS_AX_LOAD_FAILED_PERSISTED 65051
#define IDS_AX_LOAD_FAILED 65053

// The colour chooser: dialog, controls and the bitmaps of its button.
#define IDD_AX_COLORS 15035
#define IDB_AX_CUSTOM_UP 15057
#define IDB_AX_CUSTOM_DOWN 15058
#define IDC_AX_COLOR_TABS 15380
#define IDC_AX_COLOR_LIST 15381
#define IDC_AX_COLOR_CUSTOM 15382
// The script error dialog and its controls.
#define IDD_AX_SCRIPT_ERROR 15074
#define IDC_AX_ERROR_SOURCE 15080
#define IDC_AX_ERROR_DESCRIPTION 15081
#define IDC_AX_ERROR_STATEMENT 15082
#define IDC_AX_ERROR_DEBUG 15083
#define IDC_AX_VENDOR_HELP 15310
// The library's icon and the images of members and events (16 pixels
// wide, magenta transparent): 0 a group, 2/3 an event, 4/5 a property, 6/7
// a method, 8 a control, 9 an unmapped and 10 a mapped event, 12 a parameter.
#define IDI_AX_CONTROL 15032
#define IDB_AX_MEMBER_IMAGES 15034
#define AX_IMAGE_EVENT_UNMAPPED 9
#define AX_IMAGE_EVENT_MAPPED 10
// The browse dialog of registered controls and its controls.
#define IDD_AX_BROWSE 15030
#define IDC_AX_BROWSE_LIST 15390
#define IDC_AX_BROWSE_REGISTER 15391
#define IDC_AX_BROWSE_TEST 15392
#define IDC_AX_BROWSE_ICON 15393
#define IDC_AX_BROWSE_LOCATION 15394
// The event tracer and its controls.
#define IDD_AX_EVENT_LOG 15057
#define IDC_AX_EVENT_LIST 15395
#define IDC_AX_ONLY_MAPPED 15358

// The property sheet: pages, their controls, the list's pictures.
#define IDD_AX_PROPERTIES 15043
#define IDD_AX_EVENTS 15044
#define IDD_AX_GENERAL 15052
#define IDD_AX_NEW_EVENT 15070
#define IDB_AX_PROP_MODIFIED 15044
#define IDB_AX_PROP_FAILED 15045
#define IDB_AX_PROP_READONLY 15046
#define IDB_AX_PROP_ARROW 15325
#define IDC_AX_RESET_VALUE 15155
#define IDC_AX_SET_VALUE 15156
#define IDC_AX_PROP_LIST 15306
#define IDC_AX_PROP_DESCRIPTION 15307
#define IDC_AX_ABOUT 15320
#define IDC_AX_GEN_ICON 15346
#define IDC_AX_GEN_DESCRIPTION 15347
#define IDC_AX_GEN_LOCATION 15348
#define IDC_AX_GEN_HELPFILE 15349
#define IDC_AX_GEN_PROGID 15350
#define IDC_AX_GEN_NAME 15351
#define IDC_AX_NEW_EVENT 15368
#define IDC_AX_PARAMETERS 15370
#define IDC_AX_NEW_EVENT_NAME 15371
#define IDC_AX_EXISTING_EVENTS 15372
