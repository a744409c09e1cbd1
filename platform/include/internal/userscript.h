// The user interaction script: answers for the interactions a headless run
// cannot have (message boxes now; common dialogs, popup menus and drag and
// drop choices add their own queues here), and a record of what would have
// been shown.
//
// Each kind of interaction has one AnswerQueue: a FIFO of answers pushed by
// tests, primed once (on first use) from an environment variable holding a
// list of answers separated by a character (KY_MESSAGEBOX_ANSWERS="6,7,1").
// An interaction with no scripted answer takes its documented default.
// What would have been shown is written to stderr through announce(),
// unless KY_MESSAGEBOX_QUIET=1 (the variable that quiets every kind).
#pragma once

#include <windef.h>

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace win32::script {

class AnswerQueue {
 public:
  AnswerQueue(const char* environmentVariable, char separator) : variable_(environmentVariable), separator_(separator) {}
  void push(std::string answer);
  // The next answer, removed from the queue; nullopt when none is left.
  std::optional<std::string> next();
  void clear();  // also forgets the environment (tests start clean)
  size_t pending();

 private:
  void primeOnce();  // lock_ held
  std::mutex lock_;
  const char* variable_;
  char separator_;
  bool primed_ = false;
  std::deque<std::string> answers_;
};

// Writes one line about an interaction to stderr, unless quiet.
void announce(const std::string& line);

// --- message boxes (user32 messagebox.cpp) ---

struct MessageBoxRecord {
  HWND owner;
  std::string caption;  // as shown: "Error" for a null caption
  std::string text;
  UINT style;
  int answer;
};

// Answers are IDOK .. IDCONTINUE; a scripted answer that is not a button of
// the box's style is refused (the default button answers, with a note on
// stderr). The environment form also takes names: "yes", "IDNO", "cancel".
void pushMessageBoxAnswer(int answer);
void clearMessageBoxAnswers();
std::vector<MessageBoxRecord> messageBoxLog();
void clearMessageBoxLog();
// The sound types MessageBeep was asked for, in order.
std::vector<UINT> messageBeepLog();
void clearMessageBeepLog();

// --- common dialogs (comdlg32 dialogscript.cpp) ---

// File dialogs (GetOpenFileNameA, GetSaveFileNameA): an answer is a path,
// several paths separated by '|' for a multiple selection, or "cancel".
// The dialog checks an answer as a person's choice is checked (a missing
// file under OFN_FILEMUSTEXIST, a refused overwrite ...): a refused answer
// keeps the dialog open, so the next answer is taken. With none left the
// dialog is cancelled. Environment: KY_FILEDIALOG_ANSWERS, separated by ';'.
void pushFileDialogAnswer(const std::string& pathOrCancel);
// ChooseColorA: the colour picked; `customSlot` 0..15 also defines it as
// that custom colour. Environment: KY_COLORDIALOG_ANSWERS, separated by ',',
// each "#RRGGBB", "#RRGGBB@slot" or "cancel".
void pushColorAnswer(COLORREF color, int customSlot = -1);
// ChooseFontA: face, size in points, weight and slant. Environment:
// KY_FONTDIALOG_ANSWERS, separated by ';', each "face,points[,bold][,italic]" or "cancel".
void pushFontAnswer(const std::string& face, int points, bool bold = false, bool italic = false);
// A cancel for the colour or font dialog ("cancel" for file dialogs).
void pushColorCancel();
void pushFontCancel();
// PrintDlgA and PageSetupDlgA: "ok" takes the printer shown (the one the
// caller's DEVNAMES names, else the default printer), a printer's name picks
// that printer, "cancel" cancels. With no answer left the dialog is taken
// as it stands (OK, its default button). Environment: KY_PRINTDIALOG_ANSWERS,
// separated by ';'.
void pushPrintDialogAnswer(const std::string& okCancelOrPrinter);
void clearCommonDialogAnswers();

// --- mail dialogs (MAPI32.DLL) ---

// The compose, address-book and attach dialogs of the mail library: "ok"
// takes the dialog as it stands, "ok:" followed by names or addresses
// separated by ';' adds them as recipients first, "cancel" cancels. With no
// answer left the dialog is taken as it stands. Environment:
// KY_MAILDIALOG_ANSWERS, separated by '|'.
void pushMailDialogAnswer(const std::string& answer);
std::optional<std::string> nextMailDialogAnswer();
void clearMailDialogAnswers();

}  // namespace win32::script
