// A 100-page report onto the PDF printer: spooled and then replayed page by
// page (as reports print), against the same commands drawn straight onto
// the printer's DC. The ratio of the two is the spool's cost.
#include <afxwin.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "KyPrintDev.h"

namespace {

constexpr int kPages = 100;
constexpr int kLinesPerPage = 40;

// One page of a report: a header, forty lines of mixed style, a footer.
void reportPage(KyPrintDev& dev, int page) {
  dev.NewPage();
  dev.ChangeFont("Times New Roman", 14);
  dev.SetFlags(1, 0, 0, 1);
  dev.Print(1440, -1, ("Report page " + std::to_string(page)).c_str());
  dev.NewLine(2);
  dev.ChangeFont("Arial", 10);
  for (int line = 0; line < kLinesPerPage; ++line) {
    dev.SetFlags(line % 3 == 0, line % 5 == 0, 0, 1);
    dev.Print(1440, -1, ("Line " + std::to_string(line) + ": customer, amount, due date").c_str());
    dev.SetAlignment(1);
    dev.Print(7200, 2880, std::to_string(line * 1234).c_str());
    dev.SetAlignment(0);
    dev.NewLine(1);
  }
}

class PdfPrinter {
 public:
  PdfPrinter() {
    dir_ = std::filesystem::temp_directory_path() / ("kybench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    setenv("KY_PRINT_DIR", dir_.c_str(), 1);
    dc.Attach(CreateDCA("winspool", "PDF", nullptr, nullptr));
  }
  ~PdfPrinter() { std::filesystem::remove_all(dir_); }
  void startDoc() {
    std::string output = (dir_ / "report.pdf").string();
    DOCINFOA info{sizeof info, "Report", output.c_str()};
    StartDocA(dc.m_hDC, &info);
  }
  CDC dc;

 private:
  std::filesystem::path dir_;
};

void BM_ReportSpooledAndReplayed(benchmark::State& state) {
  PdfPrinter printer;
  for (auto _ : state) {
    KyPrintDev dev;
    dev.AttachDC(&printer.dc);
    dev.StartSpool();
    for (int page = 1; page <= kPages; ++page) reportPage(dev, page);
    dev.EndSpool();
    printer.startDoc();
    dev.StartRead();
    const int pages = dev.GetNumPages();
    for (int page = 1; page <= pages; ++page) {
      StartPage(printer.dc.m_hDC);
      dev.AttachDC(&printer.dc);
      dev.PrintPage(page);
      EndPage(printer.dc.m_hDC);
    }
    dev.EndRead();
    EndDoc(printer.dc.m_hDC);
  }
  state.SetItemsProcessed(state.iterations() * kPages);
}

void BM_ReportDrawnDirectly(benchmark::State& state) {
  PdfPrinter printer;
  for (auto _ : state) {
    KyPrintDev dev;
    dev.AttachDC(&printer.dc);
    printer.startDoc();
    for (int page = 1; page <= kPages; ++page) {
      StartPage(printer.dc.m_hDC);
      reportPage(dev, page);
      EndPage(printer.dc.m_hDC);
    }
    EndDoc(printer.dc.m_hDC);
  }
  state.SetItemsProcessed(state.iterations() * kPages);
}

}  // namespace

BENCHMARK(BM_ReportDrawnDirectly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportSpooledAndReplayed)->Unit(benchmark::kMillisecond);
