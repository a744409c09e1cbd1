// PrintDlgA and PageSetupDlgA over the printers of the layer. Headless, the
// dialog's choice comes from the interaction script ("ok", a printer name
// or "cancel"); without an answer the dialog is taken as shown, with the
// printer of the caller's DEVNAMES or else the default printer.
//
// The set-up travels in the two movable blocks Windows uses: a DEVMODEA and
// a DEVNAMES (offsets in characters to "winspool", the device and the port).
// Blocks the caller passes are kept and updated; missing ones are made.
#include <internal/printer.h>

#include <cstring>
#include <optional>
#include <string>

#include "dialogscript.h"

namespace win32::comdlg {
namespace {

std::string deviceOfNames(HGLOBAL names) {
  std::string device;
  if (!names) return device;
  if (auto* header = static_cast<const DEVNAMES*>(GlobalLock(names))) {
    const char* base = reinterpret_cast<const char*>(header);
    if (GlobalSize(names) > header->wDeviceOffset) {
      device.assign(base + header->wDeviceOffset, strnlen(base + header->wDeviceOffset,
                                                          GlobalSize(names) - header->wDeviceOffset));
    }
    GlobalUnlock(names);
  }
  return device;
}

HGLOBAL makeNames(const std::string& device, bool isDefault) {
  const std::string driver = gdi::kPrinterDriverName;
  const std::string port = gdi::kPdfPrinterPort;
  const size_t size = sizeof(DEVNAMES) + driver.size() + device.size() + port.size() + 3;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!block) return nullptr;
  auto* header = static_cast<DEVNAMES*>(GlobalLock(block));
  char* base = reinterpret_cast<char*>(header);
  header->wDriverOffset = sizeof(DEVNAMES);
  header->wDeviceOffset = static_cast<WORD>(header->wDriverOffset + driver.size() + 1);
  header->wOutputOffset = static_cast<WORD>(header->wDeviceOffset + device.size() + 1);
  header->wDefault = isDefault ? DN_DEFAULTPRN : 0;
  std::memcpy(base + header->wDriverOffset, driver.c_str(), driver.size() + 1);
  std::memcpy(base + header->wDeviceOffset, device.c_str(), device.size() + 1);
  std::memcpy(base + header->wOutputOffset, port.c_str(), port.size() + 1);
  GlobalUnlock(block);
  return block;
}

// The caller's set-up when it is of `device`, else the printer's default.
DEVMODEA setupOf(HGLOBAL modeBlock, const std::string& device) {
  DEVMODEA mode = gdi::defaultDevMode(device.c_str());
  if (!modeBlock) return mode;
  if (auto* given = static_cast<const DEVMODEA*>(GlobalLock(modeBlock))) {
    if (GlobalSize(modeBlock) >= sizeof(DEVMODEA) &&
        strncmp(reinterpret_cast<const char*>(given->dmDeviceName), device.c_str(), CCHDEVICENAME) == 0) {
      mode = *given;
    }
    GlobalUnlock(modeBlock);
  }
  return mode;
}

// Stores `mode` into the caller's block (resized when it is too small) or
// a new one.
bool storeMode(HGLOBAL& block, const DEVMODEA& mode) {
  if (block && GlobalSize(block) < sizeof(DEVMODEA)) {
    GlobalFree(block);
    block = nullptr;
  }
  if (!block) block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  if (!block) return false;
  auto* target = static_cast<DEVMODEA*>(GlobalLock(block));
  *target = mode;
  GlobalUnlock(block);
  return true;
}

bool storeNames(HGLOBAL& block, const std::string& device) {
  HGLOBAL fresh = makeNames(device, device == gdi::defaultPrinterName());
  if (!fresh) return false;
  if (block) GlobalFree(block);
  block = fresh;
  return true;
}

// The printer a dialog ends with, or nullopt when it is cancelled.
std::optional<std::string> chosenPrinter(const char* dialog, const std::string& shown) {
  script::announce(std::string("[") + dialog + "] printer " + shown);
  for (;;) {
    std::optional<std::string> answer = printAnswers().next();
    if (!answer || *answer == "ok") return shown;
    if (*answer == kCancel) {
      script::announce("  cancelled");
      return std::nullopt;
    }
    if (gdi::printerExists(answer->c_str())) return *answer;
    script::announce("  refused: no printer " + *answer);
  }
}

// Fills the caller's blocks for `device`; false (PDERR_MEMALLOCFAILURE)
// when a block cannot be made.
bool fillBlocks(HGLOBAL& modeBlock, HGLOBAL& namesBlock, const std::string& device) {
  DEVMODEA mode = setupOf(modeBlock, device);
  if (!storeMode(modeBlock, mode) || !storeNames(namesBlock, device)) {
    setExtendedError(CDERR_MEMALLOCFAILURE);
    return false;
  }
  return true;
}

// The printer a print or page set-up dialog ends with: the default one
// when asked for (then the caller must pass no blocks), else the choice.
// Nullopt when it fails or is cancelled; the extended error says which.
std::optional<std::string> dialogPrinter(bool returnDefault, HGLOBAL hMode, HGLOBAL hNames, const char* dialog) {
  if (returnDefault) {
    if (hMode || hNames) {
      setExtendedError(PDERR_RETDEFFAILURE);
      return std::nullopt;
    }
    return gdi::defaultPrinterName();
  }
  std::string shown = deviceOfNames(hNames);
  if (shown.empty() || !gdi::printerExists(shown.c_str())) shown = gdi::defaultPrinterName();
  std::optional<std::string> chosen = chosenPrinter(dialog, shown);
  if (!chosen) setExtendedError(0);
  return chosen;
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
  lppd->hDC = nullptr;
  std::optional<std::string> chosen =
      dialogPrinter(lppd->Flags & PD_RETURNDEFAULT, lppd->hDevMode, lppd->hDevNames,
                    lppd->Flags & PD_PRINTSETUP ? "print setup dialog" : "print dialog");
  if (!chosen) return FALSE;
  const std::string& device = *chosen;
  if (!fillBlocks(lppd->hDevMode, lppd->hDevNames, device)) return FALSE;
  if (auto* mode = static_cast<DEVMODEA*>(GlobalLock(lppd->hDevMode))) {
    if (!(lppd->Flags & PD_USEDEVMODECOPIES)) lppd->nCopies = static_cast<WORD>(mode->dmCopies ? mode->dmCopies : 1);
    if (lppd->Flags & (PD_RETURNDC | PD_RETURNIC)) {
      lppd->hDC = lppd->Flags & PD_RETURNDC ? CreateDCA(win32::gdi::kPrinterDriverName, device.c_str(), nullptr, mode)
                                             : CreateICA(win32::gdi::kPrinterDriverName, device.c_str(), nullptr, mode);
    }
    GlobalUnlock(lppd->hDevMode);
  }
  if ((lppd->Flags & (PD_RETURNDC | PD_RETURNIC)) && !lppd->hDC) {
    setExtendedError(PDERR_CREATEICFAILURE);
    return FALSE;
  }
  setExtendedError(0);
  return TRUE;
}

extern "C" BOOL WINAPI PageSetupDlgA(LPPAGESETUPDLGA lppsd) {
  using namespace win32::comdlg;
  if (!lppsd) {
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if (!checkStructSize(lppsd->lStructSize, sizeof(PAGESETUPDLGA))) return FALSE;
  std::optional<std::string> chosen =
      dialogPrinter(lppsd->Flags & PSD_RETURNDEFAULT, lppsd->hDevMode, lppsd->hDevNames, "page setup dialog");
  if (!chosen) return FALSE;
  const std::string& device = *chosen;
  if (!fillBlocks(lppsd->hDevMode, lppsd->hDevNames, device)) return FALSE;
  // The paper of the set-up, in thousandths of an inch unless hundredths
  // of a millimetre are asked for; a printer of the layer prints to the
  // paper's edge, and margins the caller did not give are an inch.
  HDC ic = nullptr;
  if (auto* mode = static_cast<DEVMODEA*>(GlobalLock(lppsd->hDevMode))) {
    ic = CreateICA(win32::gdi::kPrinterDriverName, device.c_str(), nullptr, mode);
    GlobalUnlock(lppsd->hDevMode);
  }
  if (!ic) {
    setExtendedError(PDERR_CREATEICFAILURE);
    return FALSE;
  }
  const bool metric = lppsd->Flags & PSD_INHUNDREDTHSOFMILLIMETERS;
  const int perInch = metric ? 2540 : 1000;
  const int dpi = GetDeviceCaps(ic, LOGPIXELSX);
  lppsd->ptPaperSize = {MulDiv(GetDeviceCaps(ic, PHYSICALWIDTH), perInch, dpi),
                        MulDiv(GetDeviceCaps(ic, PHYSICALHEIGHT), perInch, dpi)};
  DeleteDC(ic);
  lppsd->Flags |= metric ? PSD_INHUNDREDTHSOFMILLIMETERS : PSD_INTHOUSANDTHSOFINCHES;
  if (!(lppsd->Flags & PSD_MINMARGINS)) lppsd->rtMinMargin = {0, 0, 0, 0};
  if (!(lppsd->Flags & PSD_MARGINS)) lppsd->rtMargin = {perInch, perInch, perInch, perInch};
  setExtendedError(0);
  return TRUE;
}
