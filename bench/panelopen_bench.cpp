// Opening and painting a panel of 100 controls (its frame and view, the
// controls made from their records with the native-or-custom choice, the
// tab sequence, showing) against making and painting the same 100 windows
// of the same classes with bare CreateWindowExA under a plain top window.
// The panel should cost at most twice as much.
#include <mscrt.h>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyWinClientApp.h"
#include "ravlets.h"

namespace {

constexpr int kControls = 100;

// Every control custom, so that both sides make the same classes.
class BenchApp : public KyWinClientApp {
 public:
  BenchApp() : KyWinClientApp("PanelBench") {
    ini_ = std::filesystem::temp_directory_path() / ("panelopen_bench_" + std::to_string(::getpid()) + ".ini");
    std::ofstream(ini_) << "[NativeControls]\nStatics=0\nSingleLineEdit=0\n";
    m_pszProfileName = _strdup(ini_.c_str());
    m_iStartMode = 5;
    CreateContext();
    RavletsInit("KYWA721");
  }
  ~BenchApp() override {
    EndContext();
    std::filesystem::remove(ini_);
  }

 private:
  std::filesystem::path ini_;
};

KyCreateCtrl record(int i) {
  KyCreateCtrl r{};
  r.magic = kKyRecordMagic;
  r.id = static_cast<uint16_t>(i + 1);
  r.kind = i % 2 ? 3 : 2;  // edits and statics
  r.x = static_cast<int16_t>((i % 4) * 130);
  r.y = static_cast<int16_t>((i / 4) * 26);
  r.width = 120;
  r.height = 24;
  r.style = WS_VISIBLE | WS_TABSTOP;
  return r;
}

const char* kindName(int i) { return i % 2 ? "Edit" : "Stat"; }

// Paints now whatever of the window and its children is still to paint
// (showing the panel has painted part of it already).
void paintAll(HWND hWnd) { RedrawWindow(hWnd, nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW); }

void Panel(benchmark::State& state) {
  BenchApp app;
  KyFunctionData function(nullptr, "", "BENCH", "BENCH", 721, 0);
  for (auto _ : state) {
    auto panel = std::make_unique<KyPanel>(&function);
    if (!panel->Init(KyTopWindow, 0x00CF0000, 65, GetDialogBaseUnits(), PlacementAtPosition, 0))
      state.SkipWithError("no panel frame");
    for (int i = 0; i < kControls; ++i) {
      auto* control = new KyCtrl(panel.get(), kindName(i), record(i), 1);
      panel->AddControl(control);
      panel->SetTabSequence(control->GetWindowHandle(), i + 1);
      if (!control->GetWindowHandle()) state.SkipWithError("a control was not created");
    }
    panel->StartPanel();
    paintAll(panel->hHandle());
    state.PauseTiming();
    panel.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kControls);
}
BENCHMARK(Panel)->Unit(benchmark::kMillisecond);

void BareWindows(benchmark::State& state) {
  BenchApp app;
  for (auto _ : state) {
    HWND frame = CreateWindowExA(0, "KYWA721Stat", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 540,
                                 700, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < kControls; ++i) {
      const KyCreateCtrl r = record(i);
      HWND h = CreateWindowExA(0, i % 2 ? "KYWA721Edit" : "KYWA721Stat", "", r.style | WS_CHILD, r.x, r.y, r.width,
                               r.height, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(r.id)), nullptr, nullptr);
      if (!h) state.SkipWithError("a window was not created");
    }
    paintAll(frame);
    state.PauseTiming();
    DestroyWindow(frame);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kControls);
}
BENCHMARK(BareWindows)->Unit(benchmark::kMillisecond);

// Loading a control table of 200 controls into an open panel: every record
// made into its control, with its auxiliary record looked up and its tab
// position set (reported, no limit).
void ControlTable200(benchmark::State& state) {
  BenchApp app;
  KyFunctionData function(nullptr, "", "BENCH", "BENCH", 721, 0);
  std::vector<KyCreateCtrl> records;
  for (int i = 0; i < 200; ++i) records.push_back(record(i));
  for (auto _ : state) {
    state.PauseTiming();
    auto panel = std::make_unique<KyPanel>(&function);
    if (!panel->Init(KyTopWindow, 0x00CF0000, 65, GetDialogBaseUnits(), PlacementAtPosition, 0))
      state.SkipWithError("no panel frame");
    state.ResumeTiming();
    panel->CreateControls(records.data(), static_cast<int>(records.size()));
    if (panel->GetControls().size() != records.size()) state.SkipWithError("controls missing");
    state.PauseTiming();
    panel.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(ControlTable200)->Unit(benchmark::kMillisecond);

}  // namespace
