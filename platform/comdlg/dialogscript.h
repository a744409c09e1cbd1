// What the common dialogs share: their answer queues (see
// internal/userscript.h for the forms), the thread's extended error, and
// the record size check every dialog starts with.
#pragma once

#include <commdlg.h>
#include <internal/userscript.h>

namespace win32::comdlg {

script::AnswerQueue& fileAnswers();
script::AnswerQueue& colorAnswers();
script::AnswerQueue& fontAnswers();
script::AnswerQueue& printAnswers();

constexpr const char* kCancel = "cancel";

// CommDlgExtendedError's value for this thread; every dialog sets it (0 on
// success and on a cancel).
void setExtendedError(DWORD code);

// False (and CDERR_STRUCTSIZE) unless `size` is one of the accepted sizes.
bool checkStructSize(DWORD size, DWORD expected, DWORD older = 0);

}  // namespace win32::comdlg
