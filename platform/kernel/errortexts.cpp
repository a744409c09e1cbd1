// The system message table of the layer: a text for every error code the
// layer raises, so that FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM) can
// describe the last error. Texts are plain English sentences ending with
// ".\r\n", the form Windows gives its system texts (callers strip or show
// the line end as they would there).
#include <internal/messagetext.h>

#include <algorithm>
#include <iterator>

namespace {

struct SystemText {
  DWORD id;
  const char* text;
};

// Sorted by id for the binary search below.
constexpr SystemText kSystemTexts[] = {
    {0, "The operation completed successfully.\r\n"},
    {1, "The function is not valid.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {4, "Too many files are open.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {8, "Not enough memory is available to complete this operation.\r\n"},
    {9, "The memory block address is invalid.\r\n"},
    {10, "The environment is incorrect.\r\n"},
    {11, "The program has an incorrect format.\r\n"},
    {12, "The access code is invalid.\r\n"},
    {13, "The data is invalid.\r\n"},
    {14, "Not enough storage is available to complete this operation.\r\n"},
    {15, "The system cannot find the drive specified.\r\n"},
    {17, "The file cannot be moved to a different disk drive.\r\n"},
    {18, "There are no more files.\r\n"},
    {19, "The media is write protected.\r\n"},
    {21, "The device is not ready.\r\n"},
    {31, "A device attached to the system is not functioning.\r\n"},
    {32, "The file is in use by another process.\r\n"},
    {33, "Part of the file is locked by another process.\r\n"},
    {38, "The end of the file has been reached.\r\n"},
    {39, "The disk is full.\r\n"},
    {50, "The request is not supported.\r\n"},
    {80, "The file exists.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {109, "The pipe has been ended.\r\n"},
    {111, "The file name is too long.\r\n"},
    {112, "There is not enough space on the disk.\r\n"},
    {120, "This function is not supported on this system.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {123, "The file name, directory name, or volume label syntax is incorrect.\r\n"},
    {126, "The specified module could not be found.\r\n"},
    {127, "The specified procedure could not be found.\r\n"},
    {131, "An attempt was made to move the file pointer before the beginning of the file.\r\n"},
    {132, "The file pointer cannot be set on the specified device or file.\r\n"},
    {145, "The directory is not empty.\r\n"},
    {157, "The segment is already discarded and cannot be locked.\r\n"},
    {158, "The segment is already unlocked.\r\n"},
    {161, "The specified path is invalid.\r\n"},
    {170, "The requested resource is in use.\r\n"},
    {183, "Cannot create a file when that file already exists.\r\n"},
    {187, "The specified system semaphore name was not found.\r\n"},
    {193, "The program is not a valid application.\r\n"},
    {203, "The system could not find the environment option that was entered.\r\n"},
    {206, "The file name or extension is too long.\r\n"},
    {223, "The file size exceeds the limit allowed.\r\n"},
    {234, "More data is available.\r\n"},
    {258, "The wait operation timed out.\r\n"},
    {259, "No more data is available.\r\n"},
    {267, "The directory name is invalid.\r\n"},
    {288, "The caller does not own the mutex it tried to release.\r\n"},
    {298, "Too many posts were made to a semaphore.\r\n"},
    {317, "The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
    {487, "Attempt to access an invalid address.\r\n"},
    {534, "The arithmetic result exceeded 32 bits.\r\n"},
    {735, "The wait ended because a mutex was abandoned.\r\n"},
    {998, "Invalid access to a memory location.\r\n"},
    {1003, "The function cannot be completed.\r\n"},
    {1004, "The flags are invalid.\r\n"},
    {1113, "No mapping for the Unicode character exists in the target code page.\r\n"},
    {1114, "A dynamic link library initialization routine failed.\r\n"},
    {1117, "The request could not be performed because of a device input/output error.\r\n"},
    {1158, "The current process has used all of its system allowance of handles for Window Manager objects.\r\n"},
    {1168, "Element not found.\r\n"},
    {1300, "Not all of the privileges or groups referenced are assigned to the caller.\r\n"},
    {1400, "The window handle is invalid.\r\n"},
    {1401, "The menu handle is invalid.\r\n"},
    {1402, "The cursor handle is invalid.\r\n"},
    {1403, "The accelerator table handle is invalid.\r\n"},
    {1404, "The hook handle is invalid.\r\n"},
    {1406, "A top-level window cannot be created with the child style.\r\n"},
    {1407, "The window class cannot be found.\r\n"},
    {1408, "The window belongs to another thread.\r\n"},
    {1410, "The window class already exists.\r\n"},
    {1411, "The window class does not exist.\r\n"},
    {1412, "The window class still has open windows.\r\n"},
    {1413, "The index is invalid.\r\n"},
    {1414, "The icon handle is invalid.\r\n"},
    {1418, "The thread does not have the clipboard open.\r\n"},
    {1425, "The device context cannot be found.\r\n"},
    {1426, "The hook type is invalid.\r\n"},
    {1427, "The hook procedure is invalid.\r\n"},
    {1444, "The thread identifier is invalid.\r\n"},
    {1445, "The window is not a multiple-document interface child window.\r\n"},
    {1447, "The window has no scroll bars.\r\n"},
    {1448, "The scroll bar range cannot exceed 32767.\r\n"},
    {1460, "The operation returned because the timeout period expired.\r\n"},
    {1469, "The GetWindow command is invalid.\r\n"},
    {1812, "The image file contains no resource section.\r\n"},
    {1813, "The resource type cannot be found in the image file.\r\n"},
    {1814, "The resource name cannot be found in the image file.\r\n"},
    {1815, "The resource language cannot be found in the image file.\r\n"},
    {1921, "The name of the file cannot be resolved by the system.\r\n"},
    {2000, "The pixel format is invalid.\r\n"},
    {15106, "The enumeration of resources was stopped by the caller.\r\n"},
    // HRESULTs of other facilities that COM callers ask about.
    {0x80004001, "The operation is not implemented.\r\n"},
    {0x80004002, "The interface is not supported.\r\n"},
    {0x80004003, "The pointer is invalid.\r\n"},
    {0x80004004, "The operation was aborted.\r\n"},
    {0x80004005, "The operation failed for an unspecified reason.\r\n"},
    {0x8000FFFF, "A catastrophic failure occurred.\r\n"},
    {0x80020001, "The interface is unknown.\r\n"},
    {0x80020003, "The member was not found.\r\n"},
    {0x80020004, "The parameter was not found.\r\n"},
    {0x80020005, "The types do not match.\r\n"},
    {0x80020006, "The name is unknown.\r\n"},
    {0x80020007, "Named arguments are not supported.\r\n"},
    {0x80020008, "The variable type is invalid.\r\n"},
    {0x80020009, "An exception occurred.\r\n"},
    {0x8002000A, "The value is out of the present range.\r\n"},
    {0x8002000B, "The index is invalid.\r\n"},
    {0x8002000D, "The memory is locked.\r\n"},
    {0x8002000E, "The number of parameters is invalid.\r\n"},
    {0x8002000F, "A required parameter was omitted.\r\n"},
    {0x80020012, "Division by zero.\r\n"},
    {0x80040110, "The class does not support aggregation.\r\n"},
    {0x80040111, "The class factory cannot supply the requested class.\r\n"},
    {0x80040154, "The class is not registered.\r\n"},
    {0x800401F0, "CoInitialize has not been called.\r\n"},
};

static_assert(std::is_sorted(std::begin(kSystemTexts), std::end(kSystemTexts),
                             [](const SystemText& a, const SystemText& b) { return a.id < b.id; }));

const char* lookup(DWORD id) {
  auto it = std::lower_bound(std::begin(kSystemTexts), std::end(kSystemTexts), id,
                             [](const SystemText& entry, DWORD key) { return entry.id < key; });
  return it != std::end(kSystemTexts) && it->id == id ? it->text : nullptr;
}

constexpr DWORD kWin32Facility = 7;

}  // namespace

namespace win32 {

const char* systemMessageText(DWORD id) {
  if (const char* text = lookup(id)) return text;
  // 0x8007xxxx: an error code wrapped as an HRESULT (HRESULT_FROM_WIN32).
  if ((id & 0xFFFF0000u) == (0x80000000u | (kWin32Facility << 16))) return lookup(id & 0xFFFF);
  return nullptr;
}

}  // namespace win32
