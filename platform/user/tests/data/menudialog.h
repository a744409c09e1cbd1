// Ids of the dialog, menu and accelerator resources of the dialog and menu tests.
#pragma once

#define IDD_PLAIN 100
#define IDD_FONT 101
#define IDD_REAL 102
#define IDD_MODAL 103
#define IDD_BROKEN 104

#define IDC_LABEL 201
#define IDC_NAME 202
#define IDC_FIRST 203
#define IDC_SECOND 204
#define IDC_THIRD 205
#define IDC_KEEP 206
#define IDC_APPLY 207
#define IDC_LIST 208
#define IDC_COMBO 209
#define IDC_BIGID 70000

#define IDM_MAIN 300
#define IDM_OPEN 301
#define IDM_SAVE 302
#define IDM_EXIT 303
#define IDM_ONE 311
#define IDM_TWO 312
#define IDM_COPY 321
#define IDM_PASTE 322
#define IDM_HELP 330

#define IDM_EX 400
#define IDM_VIEW 401
#define IDM_LARGE 411
#define IDM_SMALL 412
#define IDM_REFRESH 413

#define IDA_MAIN 500
#define IDM_CONTEXT_COPY 501
#define IDM_RELOAD 601
#define IDM_LETTER_A 602
#define IDM_ALT_X 603
