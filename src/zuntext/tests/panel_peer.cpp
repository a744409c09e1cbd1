// A panel in another process for the cross-process registry tests. It loads
// the panel extension library by name (as programs other than the run-time
// do), makes one window, registers it under the panel name given and runs a
// message loop. On stdout, one line each:
//   ready <window hex> <thread id> <registered 0|1> <last error>
//   event <dwData hex> <cbData> <wParam hex> <u32 at offset 0> <event name>
//   bye <deregistered 0|1>
//   filled <further registrations> (with --fill, after "ready")
// Every WM_COPYDATA is answered with the value of --answer (default 1); the
// event "quit" ends the loop, after which the panel deregisters.
// Options:
//   --answer N    the answer to every event
//   --crash       end right after "ready" without deregistering or destroying
//                 the window, as a crashed process would
//   --fill        register the window again under the panel name until the
//                 table has no slot left for it
//   --fallback N  before loading, hold objects under the table's fixed names
//                 and the first N fallback mapping names, so that the library
//                 uses the fallback mapping name N
//   --small       with --fallback, hold that name with a mapping too small
//                 for the table, so that the library's set-up fails
//   --report NAME with --fallback, print after "ready":
//                 slot <index of this window's slot> <slots registered as NAME>
#include "paneltable.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

using RegisterFn = bool (*)(const char*, HWND);
using DeregisterFn = bool (*)(const char*);
using TriggerFn = bool (*)(const char*, const char*);

LRESULT answer = 1;

template <class Proc>
Proc entry(HMODULE library, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  const auto* bytes = static_cast<const char*>(copy->lpData);
  uint32_t head = 0;
  std::string name;
  if (copy->cbData >= 4) std::memcpy(&head, bytes, 4);
  if (copy->cbData > 4) name.assign(bytes + 4, ::strnlen(bytes + 4, copy->cbData - 4));
  std::printf("event %lx %lu %lx %lu %s\n", static_cast<unsigned long>(copy->dwData),
              static_cast<unsigned long>(copy->cbData), static_cast<unsigned long>(wParam),
              static_cast<unsigned long>(head), name.c_str());
  std::fflush(stdout);
  if (name == "quit") PostQuitMessage(0);
  return answer;
}

std::string fallbackMappingName(unsigned long counter) {
  char name[64];
  std::snprintf(name, sizeof name, zuntext::kMappingFallback, counter);
  return name;
}

// Keeps the library of this process off the fixed names and the first
// `fallbacks` fallback mapping names by holding events under them (the
// handles stay open for the life of the process). Events are objects of
// this process alone: no other process is disturbed. With `small`, the
// mapping name the library will come to is taken by a mapping too small for
// the table; mappings are shared by name with the user's other processes, so
// tests give each peer a counter of its own.
void squat(unsigned long fallbacks, bool small) {
  CreateEventA(nullptr, TRUE, FALSE, zuntext::kMappingName);
  CreateEventA(nullptr, TRUE, FALSE, zuntext::kMutexName);
  for (unsigned long counter = 0; counter < fallbacks; ++counter)
    CreateEventA(nullptr, TRUE, FALSE, fallbackMappingName(counter).c_str());
  if (small)
    CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 100, fallbackMappingName(fallbacks).c_str());
}

// "slot <index of this window's slot> <slots named `other`>" from the
// fallback table the library of this process uses.
void report(unsigned long fallback, HWND window, const std::string& other) {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, fallbackMappingName(fallback).c_str());
  const auto* slots = mapping ? static_cast<const zuntext::PanelSlot*>(
                                    MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, zuntext::kTableBytes))
                              : nullptr;
  long own = -1;
  int named = 0;
  for (size_t i = 0; slots && i < zuntext::kSlotCount; ++i) {
    if (slots[i].window == static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)) && own < 0) own = static_cast<long>(i);
    if (slots[i].window != 0 && other == slots[i].name) ++named;
  }
  std::printf("slot %ld %d\n", own, named);
  std::fflush(stdout);
  if (slots) UnmapViewOfFile(slots);
  if (mapping) CloseHandle(mapping);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* panelName = argv[1];
  bool crash = false, squatting = false, small = false, fill = false;
  unsigned long fallbacks = 0;
  std::string reportName;
  for (int i = 2; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--answer" && i + 1 < argc) {
      answer = std::atol(argv[++i]);
    } else if (option == "--crash") {
      crash = true;
    } else if (option == "--fill") {
      fill = true;
    } else if (option == "--fallback" && i + 1 < argc) {
      squatting = true;
      fallbacks = std::strtoul(argv[++i], nullptr, 10);
    } else if (option == "--small") {
      small = true;
    } else if (option == "--report" && i + 1 < argc) {
      reportName = argv[++i];
    }
  }
  if (squatting) squat(fallbacks, small);

  HMODULE library = LoadLibraryA("libky721ZuntExt.so");
  if (!library) return 3;
  // The export names: the registry functions decorated with their signatures, the trigger plain.
  auto registerPanel = entry<RegisterFn>(library, "_Z20ZEARegisterZuntPanelPKcP6HWND__");
  auto deregisterPanel = entry<DeregisterFn>(library, "_Z22ZEADeregisterZuntPanelPKc");
  auto trigger = entry<TriggerFn>(library, "ZEATriggerLogicalEvent");
  if (!registerPanel || !deregisterPanel || !trigger) return 4;

  WNDCLASSA wc{};
  wc.lpfnWndProc = panelProc;
  wc.lpszClassName = "ZuntPeerPanel";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "ZuntPeerPanel", panelName, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  if (!window) return 5;
  SetLastError(0);
  bool registered = registerPanel(panelName, window);
  std::printf("ready %lx %lu %d %lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)),
              static_cast<unsigned long>(GetCurrentThreadId()), registered ? 1 : 0,
              static_cast<unsigned long>(GetLastError()));
  std::fflush(stdout);
  if (squatting && !reportName.empty()) report(fallbacks, window, reportName);
  if (fill) {
    size_t more = 0;
    while (more < zuntext::kSlotCount && registerPanel(panelName, window)) ++more;
    std::printf("filled %zu\n", more);
    std::fflush(stdout);
  }
  if (crash) _exit(0);

  HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  for (bool running = true; running;) {
    if (MsgWaitForMultipleObjects(1, &never, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + 1) return 6;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        running = false;
        break;
      }
      DispatchMessageA(&message);
    }
  }
  std::printf("bye %d\n", deregisterPanel(panelName) ? 1 : 0);
  std::fflush(stdout);
  DestroyWindow(window);
  CloseHandle(never);
  return 0;
}
