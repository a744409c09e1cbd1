// PrintDlgA and PageSetupDlgA. The layer has no printer yet, so both give
// the documented answer of a system without a default printer: FALSE with
// PDERR_NODEFAULTPRN, whether the caller asked for the default
// (PD_RETURNDEFAULT) or for the dialog. noPrinter() is the one place a
// printer of the layer (a PDF or page-image device) will answer instead.
#include "dialogscript.h"

namespace win32::comdlg {
namespace {

BOOL noPrinter(const char* dialog) {
  script::announce(std::string("[") + dialog + "] no printer is installed");
  setExtendedError(PDERR_NODEFAULTPRN);
  return FALSE;
}

}  // namespace
}  // namespace win32::comdlg

extern "C" BOOL WINAPI PrintDlgA(LPPRINTDLGA lppd) {
  using namespace win32::comdlg;
  if (!lppd) {
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if (!checkStructSize(lppd->lStructSize, sizeof(PRINTDLGA))) return FALSE;
  return noPrinter("print dialog");
}

extern "C" BOOL WINAPI PageSetupDlgA(LPPAGESETUPDLGA lppsd) {
  using namespace win32::comdlg;
  if (!lppsd) {
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if (!checkStructSize(lppsd->lStructSize, sizeof(PAGESETUPDLGA))) return FALSE;
  return noPrinter("page setup dialog");
}
