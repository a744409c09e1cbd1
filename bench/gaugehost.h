// The gauge control hosted for a benchmark run: a class registry and a
// registry of the run's own, OLE on the thread, the gauge (and any other
// server named) registered, and one gauge on a host window that is its
// container.
#pragma once

#include <afxwin.h>
#include <ole2.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "KyActiveXContainer.h"
#include "KyActiveXControl.h"
#include "controls/kygauge.h"
#include "internal/scratchdir.h"

namespace kybench {

class GaugeHost : public CWnd, public KyActiveXContainer {};

struct HostedGauge {
  explicit HostedGauge(std::initializer_list<const char*> otherServers = {}) {
    ::setenv("KY_COM_REGISTRY", (dir / "COMCLASSES.INI").c_str(), 1);
    ::setenv("KY_REGISTRY", (dir / "REGISTRY.DAT").c_str(), 1);
    OleInitialize(nullptr);
    KyActiveXControl::RegisterOCX((std::string(KY_BIN_DIR) + "/" KYGAUGE_LIBRARY).c_str(), nullptr);
    for (const char* server : otherServers)
      KyActiveXControl::RegisterOCX((std::string(KY_BIN_DIR) + "/" + server).c_str(), nullptr);
    host.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr);
    control.Create(KYGAUGE_PROGID, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 50), &host, 1, "", "", nullptr, &host);
  }
  kytest::ScratchDir dir;
  GaugeHost host;
  KyActiveXControl control;
};

}  // namespace kybench
