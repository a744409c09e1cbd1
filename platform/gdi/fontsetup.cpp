// Fontconfig's set-up on a thread of its own (see internal/fontsetup.h).
#include <internal/fontsetup.h>

#include <fontconfig/fontconfig.h>

#include <mutex>
#include <system_error>
#include <thread>

namespace win32::gdi {
namespace {

struct FontSetup {
  std::once_flag started;
  std::once_flag finished;
  std::thread thread;
  // A program that ends before its first text still lets the set-up finish
  // rather than tearing the library down under it.
  ~FontSetup() {
    if (thread.joinable()) thread.join();
  }
};

FontSetup& fontSetup() {
  static FontSetup setup;
  return setup;
}

}  // namespace

void startFontSetup() {
  FontSetup& setup = fontSetup();
  std::call_once(setup.started, [&setup] {
    try {
      setup.thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
      // No thread to be had: the first font does the set-up itself.
    }
  });
}

void awaitFontSetup() {
  FontSetup& setup = fontSetup();
  std::call_once(setup.finished, [&setup] {
    std::call_once(setup.started, [] {});  // not started: none will be now
    if (setup.thread.joinable()) setup.thread.join();
    FcInit();  // at once when the thread did it
  });
}

}  // namespace win32::gdi
