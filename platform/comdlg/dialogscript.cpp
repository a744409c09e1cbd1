// The answer queues of the common dialogs and the extended error.
#include "dialogscript.h"

#include <cstdio>

namespace win32::comdlg {

script::AnswerQueue& fileAnswers() {
  static script::AnswerQueue queue("KY_FILEDIALOG_ANSWERS", ';');
  return queue;
}
script::AnswerQueue& colorAnswers() {
  static script::AnswerQueue queue("KY_COLORDIALOG_ANSWERS", ',');
  return queue;
}
script::AnswerQueue& fontAnswers() {
  static script::AnswerQueue queue("KY_FONTDIALOG_ANSWERS", ';');
  return queue;
}
script::AnswerQueue& printAnswers() {
  static script::AnswerQueue queue("KY_PRINTDIALOG_ANSWERS", ';');
  return queue;
}

namespace {
thread_local DWORD extendedError = 0;
}

void setExtendedError(DWORD code) { extendedError = code; }

bool checkStructSize(DWORD size, DWORD expected, DWORD older) {
  if (size == expected || (older && size == older)) return true;
  setExtendedError(CDERR_STRUCTSIZE);
  return false;
}

}  // namespace win32::comdlg

namespace win32::script {

void pushFileDialogAnswer(const std::string& pathOrCancel) { comdlg::fileAnswers().push(pathOrCancel); }

void pushColorAnswer(COLORREF color, int customSlot) {
  char text[24];
  if (customSlot >= 0)
    std::snprintf(text, sizeof text, "#%02X%02X%02X@%d", GetRValue(color), GetGValue(color), GetBValue(color),
                  customSlot);
  else
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
  comdlg::colorAnswers().push(text);
}

void pushFontAnswer(const std::string& face, int points, bool bold, bool italic) {
  std::string answer = face + "," + std::to_string(points);
  if (bold) answer += ",bold";
  if (italic) answer += ",italic";
  comdlg::fontAnswers().push(answer);
}

void pushPrintDialogAnswer(const std::string& answer) { comdlg::printAnswers().push(answer); }

void pushColorCancel() { comdlg::colorAnswers().push(comdlg::kCancel); }
void pushFontCancel() { comdlg::fontAnswers().push(comdlg::kCancel); }

void clearCommonDialogAnswers() {
  comdlg::fileAnswers().clear();
  comdlg::colorAnswers().clear();
  comdlg::fontAnswers().clear();
  comdlg::printAnswers().clear();
}

}  // namespace win32::script

extern "C" DWORD WINAPI CommDlgExtendedError(void) { return win32::comdlg::extendedError; }
