// The printers of the layer, for the parts that choose and set them up
// (comdlg32's print dialogs, the framework's printer selection).
//
// The default printer is a PDF printer: each document becomes a PDF file
// (one page per EndPage) in the folder KY_PRINT_DIR names, else the user's
// documents folder (XDG_DOCUMENTS_DIR, else ~/Documents). Where CUPS' `lp`
// is installed, any other printer name is a print queue of CUPS: the
// document is made as a PDF and handed to `lp -d <name>` at EndDoc.
#pragma once

#include <windef.h>
#include <wingdi.h>

#include <string>

namespace win32::gdi {

constexpr const char* kPdfPrinterName = "PDF";
constexpr const char* kPrinterDriverName = "winspool";
constexpr const char* kPdfPrinterPort = "FILE:";
// Resolution of a printer DC unless its DEVMODE asks for another one.
constexpr int kPrinterDpi = 300;

// The default printer's name (the PDF printer).
std::string defaultPrinterName();
// True for the PDF printer and, where `lp` exists, for any other name.
bool printerExists(const char* device);
// The printer's default set-up: Letter, portrait, one copy, kPrinterDpi.
DEVMODEA defaultDevMode(const char* device);
// The folder where the PDF printer puts documents without an output name.
std::string printOutputFolder();

}  // namespace win32::gdi
