// A report's spool file of arbitrary bytes: counting its pages and
// replaying each onto a printer page image must neither crash nor hang,
// and the page count must not depend on how often it is taken.
//
// The device is compiled into the target so that the fuzzer sees its
// branches (the run-time library itself is built without coverage).
#include "../src/lc/print/KyPrintDev.cpp"
#include "../src/lc/print/KyPrintFile.cpp"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static HDC hdc = [] {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_PRINTQUALITY;
    mode.dmPrintQuality = 36;  // small page images keep runs fast
    return CreateDCA("winspool", "PDF", nullptr, &mode);
  }();
  CDC dc;
  dc.Attach(hdc);
  {
    KyPrintDev dev;
    dev.AttachDC(&dc);
    dev.StartSpool();
    dev.PutLine(std::string(reinterpret_cast<const char*>(data), size));
    dev.EndSpool();
    dev.StartRead();
    const int pages = dev.GetNumPages();
    if (pages != dev.GetNumPages()) std::abort();
    for (int page = 1; page <= pages && page <= 8; ++page) {
      StartPage(hdc);
      dev.AttachDC(&dc);
      dev.PrintPage(page);
      EndPage(hdc);
    }
    dev.EndRead();
  }
  dc.Detach();
  return 0;
}
