// A control notification reaching the generated handler (WM_COMMAND at the
// panel's view, the control's MapNotification, the event table, one event
// of the function at a time, PanelHandler) against a bare SendMessageA of a
// message the same view does not handle. The notification should cost at
// most five times as much.
#include <benchmark/benchmark.h>

#include <memory>

#include "benchapp.h"

#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "ravlets.h"

namespace {

constexpr int kButtons = 10;

class CountingPanel : public KyPanel {
 public:
  using KyPanel::KyPanel;
  void PanelHandler(int iLogicalId) override { handled += iLogicalId; }
  long long handled = 0;
};

// A shown panel of ten push buttons, each with a click event; the last
// button's click is the one sent (its entry stands last in the table).
struct Bench {
  kybench::BenchApp app{"panelevent_bench", "[NativeControls]\nPushButton=0\n"};
  int registered = RavletsInit("KYWA721");
  KyFunctionData function{nullptr, "", "EVBENCH", "EVBENCH", 721, 0};
  std::unique_ptr<CountingPanel> panel = std::make_unique<CountingPanel>(&function);
  HWND view = nullptr;
  HWND button = nullptr;
  bool ok = false;

  Bench() {
    if (!panel->Init(KyTopWindow, 0x00CF0000, 65, GetDialogBaseUnits(), PlacementAtPosition, 0)) return;
    KyCreateCtrl records[kButtons] = {};
    for (int i = 0; i < kButtons; ++i) {
      KyCreateCtrl& r = records[i];
      r.magic = kKyRecordMagic;
      r.id = static_cast<uint16_t>(i + 1);
      r.kind = 1;
      r.y = static_cast<int16_t>(i * 26);
      r.width = 100;
      r.height = 24;
      r.style = WS_VISIBLE | WS_TABSTOP;
      panel->AddEvent(new KyLogEvent(i + 1, 1, 100 + i, "", "", 0));
    }
    panel->CreateControls(records, kButtons);
    panel->StartPanel();
    view = panel->ViewHandle();
    button = panel->pGetCtrl(kButtons)->GetWindowHandle();
    ok = registered && view && button && panel->AcceptsEvents();
  }
};

void Notification(benchmark::State& state) {
  Bench bench;
  if (!bench.ok) state.SkipWithError("no panel");
  const WPARAM click = MAKEWPARAM(kButtons, BN_CLICKED);
  for (auto _ : state) SendMessageA(bench.view, WM_COMMAND, click, reinterpret_cast<LPARAM>(bench.button));
  if (bench.panel->handled != static_cast<long long>(state.iterations()) * (100 + kButtons - 1))
    state.SkipWithError("not every notification reached the handler");
}
BENCHMARK(Notification);

void BareSendMessage(benchmark::State& state) {
  Bench bench;
  if (!bench.ok) state.SkipWithError("no panel");
  for (auto _ : state) benchmark::DoNotOptimize(SendMessageA(bench.view, WM_USER + 100, 0, 0));
}
BENCHMARK(BareSendMessage);

}  // namespace
