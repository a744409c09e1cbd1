// Ids of the frame tests' resources (menus, tool bar, strings, dialogs).
#pragma once

#define IDR_MAINFRAME 128
#define IDR_CHILDFRAME 129
#define IDR_BARE 130      // only a title string: no menu, icon or keys
#define IDD_BAR 140
#define IDD_NAME 141
#define IDD_TOOLS 142

#define ID_CHILD_ONLY 32771
#define ID_APP_ONLY 32772
#define ID_FRAME_AND_APP 32773
#define ID_NOBODY 32774
#define ID_SHOW_BOLD 32775
#define ID_BAR_GO 32776
#define ID_PLAIN_TIP 32777

#define IDC_NAME_EDIT 1201
#define IDC_COUNT_EDIT 1202
