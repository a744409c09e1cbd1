// Ids of the resources of TESTRES.DLL, shared by testres.rc and the tests.
#define IDR_NUMBERS 100
#define IDR_LANGUAGES 101
#define IDR_GERMAN_ONLY 102
#define IDD_TEST 200
#define IDC_NAME_LABEL 201
#define IDC_NAME 202
