// The table is shared between processes by name: a panel registered by
// another program (panel_peer, which loads the library by name) is seen
// here, receives the events raised here, and leaves a slot behind when it
// crashes that the next deregistration of its name, or a registration that
// finds the table full, reclaims. The fallback
// names and a failed set-up are seen in that other program too, where the
// fixed names can be taken before the library loads.
#include "ky721ZuntExt.h"

#include "tableview.h"
#include "testpanel.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <sstream>

namespace zuntext::test {
namespace {

constexpr int kLineWaitMs = 10000;

// The peer program, started with its stdout on a pipe read line by line.
class PeerProcess {
 public:
  explicit PeerProcess(std::vector<std::string> arguments) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const std::string program = std::string(KY_BIN_DIR) + "/ky721ZuntExt_panel_peer";
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fds[0];
  }
  ~PeerProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
  }
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // The next line the peer wrote (without its newline); "" when it wrote
  // none within the wait or ended.
  std::string line() {
    for (;;) {
      auto end = buffer_.find('\n');
      if (end != std::string::npos) {
        std::string text = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return text;
      }
      pollfd ready{out_, POLLIN, 0};
      if (poll(&ready, 1, kLineWaitMs) <= 0) return {};
      char chunk[256];
      ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) return {};
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

  int exitCode() {
    int status = 0;
    if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
};

struct Ready {
  bool valid = false;
  HWND window = nullptr;
  DWORD threadId = 0;
  bool registered = false;
  DWORD lastError = 0;
};

Ready readReady(PeerProcess& peer) {
  std::istringstream in(peer.line());
  std::string word;
  unsigned long window = 0, thread = 0, error = 0;
  int registered = 0;
  Ready ready;
  if (in >> word >> std::hex >> window >> std::dec >> thread >> registered >> error && word == "ready")
    ready = Ready{true, reinterpret_cast<HWND>(window), static_cast<DWORD>(thread), registered != 0,
                  static_cast<DWORD>(error)};
  return ready;
}

// Sends the peer the event message directly (not through the table).
LRESULT sendEvent(HWND window, const char* event) {
  BYTE payload[56] = {};
  std::memcpy(payload + 4, event, std::strlen(event));
  COPYDATASTRUCT message{0x0041455A, sizeof payload, payload};
  return SendMessageA(window, WM_COPYDATA, reinterpret_cast<WPARAM>(GetDesktopWindow()),
                      reinterpret_cast<LPARAM>(&message));
}

// A fallback counter that only this test program's peers use (between 1 and
// 2000; the first fallback name is left to the test of the fallback names).
unsigned long privateFallback(unsigned long range) {
  return 1 + range * 1000 + static_cast<unsigned long>(::getpid()) % 1000;
}

std::string hex(unsigned long value) {
  std::ostringstream out;
  out << std::hex << value;
  return out.str();
}

TEST(CrossProcessRegistry, AnEventRaisedHereRunsInTheOtherProcess) {
  const std::string name = uniqueName("Fremd");
  PeerProcess peer({name, "--answer", "7"});
  Ready ready = readReady(peer);
  ASSERT_TRUE(ready.valid);
  ASSERT_TRUE(ready.registered);

  // The other process's registration is in this process's view of the table.
  TableView table;
  auto found = table.slotsNamed(name);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(table.slot(found[0]).window, handleValue(ready.window));
  EXPECT_EQ(table.slot(found[0]).threadId, ready.threadId);
  EXPECT_NE(ready.threadId, GetCurrentThreadId());

  EXPECT_TRUE(ZEATriggerLogicalEvent(name.c_str(), "Aktualisieren"));
  const std::string expected = "event 41455a 56 " + hex(handleValue(GetDesktopWindow())) + " 0 Aktualisieren";
  EXPECT_EQ(peer.line(), expected);

  // This process may not free another thread's live registration.
  EXPECT_FALSE(ZEADeregisterZuntPanel(name.c_str()));
  EXPECT_TRUE(ZEATriggerLogicalEvent(name.c_str(), "quit"));
  EXPECT_EQ(peer.line(), "event 41455a 56 " + hex(handleValue(GetDesktopWindow())) + " 0 quit");
  EXPECT_EQ(peer.line(), "bye 1");
  EXPECT_EQ(peer.exitCode(), 0);
  EXPECT_TRUE(table.slotsNamed(name).empty());
}

TEST(CrossProcessRegistry, AnotherProcessAnsweringZeroMakesTheResultFalse) {
  const std::string name = uniqueName("Ablehnend");
  PeerProcess peer({name, "--answer", "0"});
  Ready ready = readReady(peer);
  ASSERT_TRUE(ready.valid && ready.registered);
  EXPECT_FALSE(ZEATriggerLogicalEvent(name.c_str(), "Speichern"));
  EXPECT_EQ(peer.line().rfind("event 41455a 56 ", 0), 0u);  // it ran, yet answered 0
  sendEvent(ready.window, "quit");
  EXPECT_EQ(peer.line().substr(0, 6), "event ");
  EXPECT_EQ(peer.line(), "bye 1");
  EXPECT_EQ(peer.exitCode(), 0);
}

TEST(CrossProcessRegistry, ACrashedProcessLeavesASlotTheNextDeregistrationReclaims) {
  const std::string name = uniqueName("Abgestuerzt");
  PeerProcess peer({name, "--crash"});
  Ready ready = readReady(peer);
  ASSERT_TRUE(ready.valid && ready.registered);
  EXPECT_EQ(peer.exitCode(), 0);

  TableView table;
  auto found = table.slotsNamed(name);
  ASSERT_EQ(found.size(), 1u);  // the slot outlives its process
  EXPECT_FALSE(IsWindow(ready.window));
  EXPECT_FALSE(ZEATriggerLogicalEvent(name.c_str(), "Refresh"));
  EXPECT_TRUE(ZEADeregisterZuntPanel(name.c_str()));
  EXPECT_EQ(table.slot(found[0]).window, 0u);
  EXPECT_TRUE(table.slotsNamed(name).empty());
}

TEST(CrossProcessRegistry, AFullTableGivesTheSlotsOfADeadProcessToNewPanels) {
  TableView table;
  ASSERT_TRUE(table.opened());
  // Registrations of this thread that must survive: a live panel, and one
  // whose window is gone but whose thread could still deregister it.
  TestPanel live, destroyed;
  const std::string liveName = uniqueName("Bleibt"), destroyedName = uniqueName("Zerstoert");
  ASSERT_TRUE(ZEARegisterZuntPanel(liveName.c_str(), live.window()));
  ASSERT_TRUE(ZEARegisterZuntPanel(destroyedName.c_str(), destroyed.window()));
  destroyed.destroy();

  const std::string deadName = uniqueName("Tot");
  {
    PeerProcess peer({deadName, "--fill", "--crash"});
    ASSERT_TRUE(readReady(peer).registered);
    EXPECT_EQ(peer.line().rfind("filled ", 0), 0u);
    EXPECT_EQ(peer.exitCode(), 0);
  }

  // Under the lock the table stays as it is but for this thread's calls.
  // Slots other processes freed meanwhile are filled first, so that every
  // further registration must reclaim.
  ASSERT_TRUE(table.lock());
  TestPanel panel;
  const std::string stem = uniqueName("Neu");
  std::vector<std::string> names;
  auto registerNext = [&] {
    names.push_back(stem + "-" + std::to_string(names.size()));
    return ZEARegisterZuntPanel(names.back().c_str(), panel.window());
  };
  while (table.freeSlots() > 0) ASSERT_TRUE(registerNext());
  const auto deadSlots = table.slotsNamed(deadName);
  ASSERT_FALSE(deadSlots.empty());
  std::vector<std::pair<size_t, SlotBytes>> liveSlots;
  for (size_t i = 0; i < kSlotCount; ++i)
    if (IsWindow(reinterpret_cast<HWND>(uintptr_t{table.slot(i).window}))) liveSlots.emplace_back(i, table.slot(i));

  size_t reclaimed = 0;
  while (registerNext()) ++reclaimed;
  EXPECT_GE(reclaimed, deadSlots.size());
  EXPECT_TRUE(table.slotsNamed(deadName).empty());
  for (size_t index : deadSlots) EXPECT_EQ(table.slot(index).name.rfind(stem, 0), 0u) << index;
  for (const auto& [index, before] : liveSlots) {
    EXPECT_EQ(table.slot(index).window, before.window) << index;
    EXPECT_EQ(table.slot(index).name, before.name) << index;
  }
  EXPECT_EQ(table.slotsNamed(liveName).size(), 1u);
  EXPECT_EQ(table.slotsNamed(destroyedName).size(), 1u);
  EXPECT_EQ(table.freeSlots(), 0u);

  for (const auto& name : names) ZEADeregisterZuntPanel(name.c_str());
  EXPECT_TRUE(ZEADeregisterZuntPanel(destroyedName.c_str()));
  EXPECT_TRUE(ZEADeregisterZuntPanel(liveName.c_str()));
  table.unlock();
}

TEST(CrossProcessRegistry, FixedNamesTakenMakeTheLibraryUseItsFallbackNames) {
  const std::string name = uniqueName("Ausweich");
  PeerProcess peer({name, "--fallback", "0"});
  Ready ready = readReady(peer);
  ASSERT_TRUE(ready.valid);
  ASSERT_TRUE(ready.registered);

  // The peer's table is the first fallback pair; this process's is not.
  char mappingName[64], mutexName[64];
  std::snprintf(mappingName, sizeof mappingName, kMappingFallback, 0ul);
  std::snprintf(mutexName, sizeof mutexName, kMutexFallback, 0ul);
  EXPECT_STREQ(mappingName, "NewFileName-00000");
  EXPECT_STREQ(mutexName, "0F83D846_12C4_11D3_A912_99999900000");
  TableView fallback(mappingName, mutexName);
  ASSERT_TRUE(fallback.opened());
  auto found = fallback.slotsNamed(name);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(fallback.slot(found[0]).window, handleValue(ready.window));
  TableView table;
  EXPECT_TRUE(table.slotsNamed(name).empty());
  EXPECT_FALSE(ZEATriggerLogicalEvent(name.c_str(), "Refresh"));

  sendEvent(ready.window, "quit");
  EXPECT_EQ(peer.line().substr(0, 6), "event ");
  EXPECT_EQ(peer.line(), "bye 1");
  EXPECT_EQ(peer.exitCode(), 0);
  EXPECT_TRUE(fallback.slotsNamed(name).empty());
}

TEST(CrossProcessRegistry, AFailedSetUpAnswersFalseAndLeavesTheTablesAlone) {
  const std::string name = uniqueName("Kaputt");
  PeerProcess peer({name, "--fallback", std::to_string(privateFallback(0)), "--small"});
  Ready ready = readReady(peer);
  ASSERT_TRUE(ready.valid);  // the program runs on, without the library's services
  EXPECT_FALSE(ready.registered);
  EXPECT_EQ(ready.lastError, DWORD{ERROR_DLL_INIT_FAILED});
  TableView table;
  EXPECT_TRUE(table.slotsNamed(name).empty());

  sendEvent(ready.window, "quit");
  EXPECT_EQ(peer.line().substr(0, 6), "event ");
  EXPECT_EQ(peer.line(), "bye 0");
  EXPECT_EQ(peer.exitCode(), 0);
}

TEST(CrossProcessRegistry, ATableLeftOnlyByDeadProcessesStartsAfresh) {
  // When every process that had the table open has died (no clean-up ran),
  // the next one to load the library gets a new, zeroed table instead of the
  // dead processes' slots. The two peers use a table of their own, which no
  // live process holds in between.
  const std::string fallback = std::to_string(privateFallback(1));
  const std::string crashed = uniqueName("Frueher");
  {
    PeerProcess first({crashed, "--fallback", fallback, "--report", crashed, "--crash"});
    ASSERT_TRUE(readReady(first).registered);
    const std::string report = first.line();
    EXPECT_EQ(report.substr(report.rfind(' ')), " 1");  // its own slot
    EXPECT_EQ(first.exitCode(), 0);
  }
  PeerProcess second({uniqueName("Spaeter"), "--fallback", fallback, "--report", crashed});
  Ready ready = readReady(second);
  ASSERT_TRUE(ready.valid && ready.registered);
  EXPECT_EQ(second.line(), "slot 0 0");  // the first slot, and nothing of the crashed peer
  sendEvent(ready.window, "quit");
  EXPECT_EQ(second.line().substr(0, 6), "event ");
  EXPECT_EQ(second.line(), "bye 1");
  EXPECT_EQ(second.exitCode(), 0);
}

}  // namespace
}  // namespace zuntext::test
