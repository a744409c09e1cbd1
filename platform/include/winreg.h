// The registry (ADVAPI32): keys and values over a file of the user's
// configuration directory, "REGISTRY.DAT" beside the COM class registry
// (see objbase.h), or the file $KY_REGISTRY names. HKEY_CLASSES_ROOT holds
// the CLSIDs, ProgIDs and type libraries of in-process servers. Windows
// declares these through windows.h; here a user includes winreg.h itself.
//
// Key names compare ignoring case and keep the case they were created
// with; a key path holds names separated by "\". Values are REG_SZ,
// REG_EXPAND_SZ, REG_DWORD or REG_BINARY. Every change is written through
// to the file at once.
#pragma once

#include "windef.h"
#include "winerror.h"

typedef LONG LSTATUS;
typedef DWORD REGSAM;
typedef HKEY* PHKEY;

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

#ifndef ERROR_BADKEY
#define ERROR_BADKEY 1010L
#endif
#ifndef ERROR_CANTWRITE
#define ERROR_CANTWRITE 1013L
#endif

// ERROR_FILE_NOT_FOUND for a missing key; ERROR_INVALID_HANDLE for a key
// that is neither a root nor open.
extern "C" LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
extern "C" LSTATUS WINAPI RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
// Creates the key and every missing key above it.
extern "C" LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                                          REGSAM samDesired, const void* lpSecurityAttributes, PHKEY phkResult,
                                          LPDWORD lpdwDisposition);
extern "C" LSTATUS WINAPI RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
extern "C" LSTATUS WINAPI RegCloseKey(HKEY hKey);
// A key without subkeys (ERROR_ACCESS_DENIED while it has some).
extern "C" LSTATUS WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
// A null or empty value name is the key's default value. With a short
// buffer: ERROR_MORE_DATA and the size needed in *lpcbData.
extern "C" LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                           LPBYTE lpData, LPDWORD lpcbData);
extern "C" LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                                         const BYTE* lpData, DWORD cbData);
// The default value of a subkey (of the key itself for a null or empty
// subkey), as text; a key without one answers "".
extern "C" LSTATUS WINAPI RegQueryValueA(HKEY hKey, LPCSTR lpSubKey, LPSTR lpData, LONG* lpcbData);
extern "C" LSTATUS WINAPI RegSetValueA(HKEY hKey, LPCSTR lpSubKey, DWORD dwType, LPCSTR lpData, DWORD cbData);
// Subkeys in the order they were created; ERROR_NO_MORE_ITEMS past the last.
extern "C" LSTATUS WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                                        LPSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime);
extern "C" LSTATUS WINAPI RegEnumKeyA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName);
