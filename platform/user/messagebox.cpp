// The headless message box: the answer comes from the user interaction
// script (or is the box's default button), the box is recorded and, so
// that a person running headless sees what would have been shown, written
// to stderr.
#include <internal/userscript.h>
#include <winuser.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <span>
#include <string>

namespace {

struct ButtonSet {
  const char* names;  // for the stderr line
  int buttons[3];
  int count;
};

// Indexed by the style's MB_TYPEMASK value.
constexpr ButtonSet kButtonSets[] = {
    {"OK", {IDOK}, 1},                                       // MB_OK
    {"OK/Cancel", {IDOK, IDCANCEL}, 2},                      // MB_OKCANCEL
    {"Abort/Retry/Ignore", {IDABORT, IDRETRY, IDIGNORE}, 3}, // MB_ABORTRETRYIGNORE
    {"Yes/No/Cancel", {IDYES, IDNO, IDCANCEL}, 3},           // MB_YESNOCANCEL
    {"Yes/No", {IDYES, IDNO}, 2},                            // MB_YESNO
    {"Retry/Cancel", {IDRETRY, IDCANCEL}, 2},                // MB_RETRYCANCEL
    {"Cancel/Try Again/Continue", {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, 3},  // MB_CANCELTRYCONTINUE
};

// Indexed by answer id (IDOK = 1 ...).
constexpr const char* kAnswerNames[] = {"", "OK", "CANCEL", "ABORT", "RETRY", "IGNORE", "YES",
                                        "NO", "CLOSE", "HELP", "TRYAGAIN", "CONTINUE"};
constexpr int kHighestAnswer = IDCONTINUE;

const char* iconName(UINT style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONHAND: return "stop";
    case MB_ICONQUESTION: return "question";
    case MB_ICONEXCLAMATION: return "exclamation";
    case MB_ICONASTERISK: return "information";
    default: return nullptr;
  }
}

win32::script::AnswerQueue& answers() {
  static win32::script::AnswerQueue queue("KY_MESSAGEBOX_ANSWERS", ',');
  return queue;
}

struct Logs {
  std::mutex lock;
  std::vector<win32::script::MessageBoxRecord> boxes;
  std::vector<UINT> beeps;
  static Logs& instance() {
    static Logs logs;
    return logs;
  }
};

// An answer of the script: a number or a name ("yes", "IDYES"); 0 when neither.
int parseAnswer(const std::string& text) {
  char* end = nullptr;
  long number = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() && *end == '\0') return number > 0 && number <= kHighestAnswer ? static_cast<int>(number) : 0;
  std::string name;
  for (char c : text) name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name.rfind("ID", 0) == 0) name.erase(0, 2);
  for (int id = 1; id <= kHighestAnswer; ++id)
    if (name == kAnswerNames[id]) return id;
  return 0;
}

std::string answerName(int answer) {
  return answer > 0 && answer <= kHighestAnswer ? std::string("ID") + kAnswerNames[answer] : std::to_string(answer);
}

// The scripted answer when it is one of the box's buttons, else the default.
int chooseAnswer(const ButtonSet& set, int defaultAnswer) {
  auto scripted = answers().next();
  if (!scripted) return defaultAnswer;
  int answer = parseAnswer(*scripted);
  std::span<const int> buttons(set.buttons, set.count);
  if (answer != 0 && std::find(buttons.begin(), buttons.end(), answer) != buttons.end()) return answer;
  win32::script::announce("[message box] scripted answer \"" + *scripted + "\" is not a button of " + set.names +
                          "; the default button answers");
  return defaultAnswer;
}

int showBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  UINT type = style & MB_TYPEMASK;
  if (type >= std::size(kButtonSets)) {
    SetLastError(ERROR_INVALID_MSGBOX_STYLE);
    return 0;
  }
  const ButtonSet& set = kButtonSets[type];
  // MB_DEFBUTTONn picks the n-th button; one the box lacks means the first.
  UINT defaultIndex = (style & MB_DEFMASK) >> 8;
  int defaultAnswer = set.buttons[defaultIndex < static_cast<UINT>(set.count) ? defaultIndex : 0];
  int answer = chooseAnswer(set, defaultAnswer);

  std::string shownCaption = caption ? caption : "Error";  // Windows' title for a null caption
  std::string shownText = text ? text : "";
  {
    auto& logs = Logs::instance();
    std::lock_guard guard(logs.lock);
    logs.boxes.push_back({owner, shownCaption, shownText, style, answer});
  }
  std::string line = "[message box] " + shownCaption + ": " + shownText + " [" + set.names;
  if (const char* icon = iconName(style)) line += std::string(", ") + icon;
  line += "] -> " + answerName(answer);
  win32::script::announce(line);
  return answer;
}

// A text given as a resource id is the string of that id in the module.
LPCSTR resolved(HINSTANCE module, LPCSTR text, std::span<char> buffer) {
  if (!text || !IS_INTRESOURCE(text)) return text;
  buffer[0] = '\0';
  LoadStringA(module, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)), buffer.data(),
              static_cast<int>(buffer.size()));
  return buffer.data();
}

}  // namespace

namespace win32::script {

void pushMessageBoxAnswer(int answer) { answers().push(std::to_string(answer)); }
void clearMessageBoxAnswers() { answers().clear(); }

std::vector<MessageBoxRecord> messageBoxLog() {
  auto& logs = Logs::instance();
  std::lock_guard guard(logs.lock);
  return logs.boxes;
}

void clearMessageBoxLog() {
  auto& logs = Logs::instance();
  std::lock_guard guard(logs.lock);
  logs.boxes.clear();
}

std::vector<UINT> messageBeepLog() {
  auto& logs = Logs::instance();
  std::lock_guard guard(logs.lock);
  return logs.beeps;
}

void clearMessageBeepLog() {
  auto& logs = Logs::instance();
  std::lock_guard guard(logs.lock);
  logs.beeps.clear();
}

}  // namespace win32::script

extern "C" int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return showBox(owner, text, caption, type);
}

extern "C" int WINAPI MessageBoxExA(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD languageId) {
  return showBox(owner, text, caption, type);
}

extern "C" int WINAPI MessageBoxIndirectA(LPCMSGBOXPARAMSA params) {
  if (!params || params->cbSize != sizeof(MSGBOXPARAMSA)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  char text[1024], caption[256];
  return showBox(params->hwndOwner, resolved(params->hInstance, params->lpszText, text),
                 resolved(params->hInstance, params->lpszCaption, caption), params->dwStyle);
}

extern "C" BOOL WINAPI MessageBeep(UINT type) {
  auto& logs = Logs::instance();
  std::lock_guard guard(logs.lock);
  logs.beeps.push_back(type);
  return TRUE;
}
