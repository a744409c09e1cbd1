// A stand-in of the HTML Help viewer's library for the help tests: its
// ordinal 14 records each call, which the test reads back by name.
#include <windows.h>

#include <string>

namespace {

struct Call {
  HWND owner;
  std::string file;
  UINT command;
};
Call g_last{};
int g_calls = 0;

}  // namespace

extern "C" __attribute__((visibility("default"))) HWND WINAPI HtmlHelpA(HWND owner, LPCSTR file, UINT command,
                                                                        DWORD_PTR) {
  g_last = Call{owner, file ? file : "", command};
  ++g_calls;
  return nullptr;
}

// How many calls came, and the last one's owner, file and command.
extern "C" __attribute__((visibility("default"))) int HtmlHelpCalls(HWND* owner, const char** file, UINT* command) {
  *owner = g_last.owner;
  *file = g_last.file.c_str();
  *command = g_last.command;
  return g_calls;
}

KY_EXPORT_ORDINALS({14, "HtmlHelpA"})
