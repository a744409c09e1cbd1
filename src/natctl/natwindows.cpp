// The window utilities that the native library exports under the custom
// library's names; the settings play no part in them.
#include "natformat.h"
#include "ravlets.h"

namespace NatCtl {

BOOL WINAPI CenterWindow(HWND window, int offset) { return ::CenterWindow(window, offset); }
void WINAPI RCtoS(HWND window, LPRECT rect) { ::RCtoS(window, rect); }
void WINAPI RStoC(HWND window, LPRECT rect) { ::RStoC(window, rect); }
int WINAPI WindowHeight(HWND window) { return ::WindowHeight(window); }
int WINAPI WindowWidth(HWND window) { return ::WindowWidth(window); }
LPSTR WINAPI _fstrcins(LPSTR text, char c, int count, int position) { return ::_fstrcins(text, c, count, position); }
BOOL WINAPI IsTabDlgMessage(HWND dialog, HWND page, int tabId, LPMSG msg) {
  return ::IsTabDlgMessage(dialog, page, tabId, msg);
}

}  // namespace NatCtl
