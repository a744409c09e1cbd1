// Ids of the dialog templates of the framework's dialog tests.
#pragma once

#define IDD_DATA 100
#define IDD_EMPTY 101
#define IDD_DLGINIT 102
#define IDD_CHAIN_ONLY 300

#define IDC_COUNT 1001
#define IDC_RATE 1002
#define IDC_NAME 1003
#define IDC_KEEP 1004
#define IDC_SMALL 1005
#define IDC_MEDIUM 1006
#define IDC_LARGE 1007
#define IDC_COLOUR 1008
#define IDC_FRUIT 1009
#define IDC_AFTER 1010
#define IDC_POSITIVE 1011

#define IDM_CHAIN 400
#define ID_CHAIN_OPEN 401
#define ID_CHAIN_SAVE 402
