// Ids of the Japanese dialog of the double-byte snapshot test.
#pragma once

#define IDD_JAPANESE 300
#define IDC_JA_LABEL 301
#define IDC_JA_NAME 302
#define IDC_JA_NOTE 303
