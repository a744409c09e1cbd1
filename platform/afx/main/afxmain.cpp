// The program entry of framework applications: a program defines one
// static CWinApp-derived object and links the static library afxmain; this
// `main` runs AfxWinMain with the program's module handle, the command line
// after the program name (as WinMain receives it) and SW_SHOWDEFAULT.
// AfxWinMain's result is the exit code: ExitInstance's, normally the code of
// the WM_QUIT that ended the message loop.
#include <afxwin.h>

#include <internal/commandline.h>

#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  std::string commandLine = win32::joinCommandLine(arguments);
  return AfxWinMain(::GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
