// Raising a logical event on registered panels: the message each live panel
// receives, which panels receive it, what the answers make of the result,
// and the checks that come before the table's lock.
#include "ky721ZuntExt.h"

#include "tableview.h"
#include "testpanel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zuntext::test {
namespace {

// Registers a panel for the life of the object (from the creating thread).
struct Registration {
  std::string name;
  Registration(std::string panelName, HWND window) : name(std::move(panelName)) {
    registered = ZEARegisterZuntPanel(name.c_str(), window);
  }
  ~Registration() {
    if (registered) ZEADeregisterZuntPanel(name.c_str());
  }
  bool registered = false;
};

TEST(LogicalEventTrigger, EachLivePanelReceivesTheEventMessage) {
  TestPanel first, second;
  const std::string name = uniqueName("Artikel");
  Registration a(name, first.window()), b(name, second.window());
  ASSERT_TRUE(a.registered && b.registered);

  EXPECT_TRUE(ZEATriggerLogicalEvent(name.c_str(), "Refresh"));
  for (const TestPanel* panel : {&first, &second}) {
    ASSERT_EQ(panel->received().size(), 1u);
    const ReceivedEvent& event = panel->received()[0];
    EXPECT_EQ(event.tag, ULONG_PTR{0x0041455A});  // "ZEA"
    EXPECT_EQ(event.size, 56u);
    EXPECT_EQ(event.wParam, reinterpret_cast<WPARAM>(GetDesktopWindow()));
    ASSERT_EQ(event.data.size(), 56u);
    std::vector<BYTE> expected(56, 0);
    std::memcpy(expected.data() + 4, "Refresh", 7);
    // Each receiver sees the bytes as built, although the first scribbled over its copy.
    EXPECT_EQ(event.data, expected);
  }
}

TEST(LogicalEventTrigger, PanelNamesMatchIgnoringCaseAndOnlyWholeNames) {
  TestPanel target, neighbour;
  const std::string name = uniqueName("Bestellung");
  Registration a(name, target.window()), b(name + "en", neighbour.window());
  std::string shouted = name;
  for (char& c : shouted) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));

  EXPECT_TRUE(ZEATriggerLogicalEvent(shouted.c_str(), "Close"));
  ASSERT_EQ(target.received().size(), 1u);
  EXPECT_EQ(eventName(target.received()[0]), "Close");
  EXPECT_TRUE(neighbour.received().empty());
}

TEST(LogicalEventTrigger, WithoutALiveWindowNothingIsSent) {
  TestPanel dead, bystander;
  const std::string name = uniqueName("Verwaist");
  Registration stale(name, dead.window()), other(name + "-x", bystander.window());
  ASSERT_TRUE(stale.registered);
  dead.destroy();

  EXPECT_FALSE(ZEATriggerLogicalEvent(name.c_str(), "Refresh"));
  EXPECT_FALSE(ZEATriggerLogicalEvent(uniqueName("Nie-Registriert").c_str(), "Refresh"));
  EXPECT_TRUE(bystander.received().empty());
}

TEST(LogicalEventTrigger, OnePanelAnsweringZeroMakesTheResultFalse) {
  TestPanel runs(1), refuses(0), runsToo(1);
  const std::string name = uniqueName("Teilweise");
  Registration a(name, runs.window()), b(name, refuses.window()), c(name, runsToo.window());

  EXPECT_FALSE(ZEATriggerLogicalEvent(name.c_str(), "Save"));
  // Every live panel still got the event, before and after the refusal.
  EXPECT_EQ(runs.received().size(), 1u);
  EXPECT_EQ(refuses.received().size(), 1u);
  EXPECT_EQ(runsToo.received().size(), 1u);
}

TEST(LogicalEventTrigger, EventNamesUpToFiftyCharacters) {
  TestPanel panel;
  const std::string name = uniqueName("Lang");
  Registration r(name, panel.window());
  const std::string longest(50, 'E');
  const std::string tooLong = longest + "E";
  struct Case {
    const char* panel;
    const char* event;
    bool sent;
  } cases[] = {
      {name.c_str(), longest.c_str(), true},
      {name.c_str(), tooLong.c_str(), false},
      {name.c_str(), "", false},
      {name.c_str(), nullptr, false},
      {"", "Refresh", false},
      {nullptr, "Refresh", false},
  };
  size_t expectedCount = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(ZEATriggerLogicalEvent(c.panel, c.event), c.sent) << (c.event ? c.event : "(null)");
    expectedCount += c.sent;
    EXPECT_EQ(panel.received().size(), expectedCount);
  }
  ASSERT_FALSE(panel.received().empty());
  EXPECT_EQ(eventName(panel.received()[0]), longest);
  EXPECT_EQ(panel.received()[0].data[4 + 50], 0);  // its NUL within the 56 bytes
}

// Holds the table's mutex on a thread of its own until told to let it go.
// The table is the user's: other test programs running meanwhile wait for
// it, so it is never held for long (they give up after a second).
class MutexHolder {
 public:
  MutexHolder() {
    thread_ = std::thread([this] {
      TableView table;
      bool locked = table.opened() && table.lock();
      std::unique_lock guard(lock_);
      state_ = locked ? State::holding : State::failed;
      changed_.notify_all();
      changed_.wait(guard, [this] { return state_ == State::releasing; });
      guard.unlock();
      std::this_thread::sleep_for(delay_);
      table.unlock();
    });
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return state_ != State::starting; });
  }
  ~MutexHolder() {
    releaseIn(std::chrono::milliseconds(0));
    thread_.join();
  }
  bool holding() {
    std::lock_guard guard(lock_);
    return state_ == State::holding;
  }
  void releaseIn(std::chrono::milliseconds delay) {
    std::lock_guard guard(lock_);
    if (state_ == State::releasing) return;
    delay_ = delay;
    state_ = State::releasing;
    changed_.notify_all();
  }

 private:
  enum class State { starting, holding, failed, releasing };
  std::mutex lock_;
  std::condition_variable changed_;
  State state_ = State::starting;
  std::chrono::milliseconds delay_{0};
  std::thread thread_;
};

template <class F>
std::chrono::milliseconds timed(F work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

TEST(LogicalEventTrigger, BadArgumentsAreRefusedBeforeTheLock) {
  TestPanel panel;
  const std::string name = uniqueName("Gesperrt");
  Registration r(name, panel.window());
  const std::string tooLong(51, 'E');
  const std::string tooLongPanel(101, 'P');
  struct Case {
    const char* what;
    std::function<bool()> call;
  } cases[] = {
      {"event of 51 characters", [&] { return ZEATriggerLogicalEvent(name.c_str(), tooLong.c_str()); }},
      {"empty event", [&] { return ZEATriggerLogicalEvent(name.c_str(), ""); }},
      {"panel of 101 characters", [&] { return ZEATriggerLogicalEvent(tooLongPanel.c_str(), "Refresh"); }},
      {"register 101 characters", [&] { return ZEARegisterZuntPanel(tooLongPanel.c_str(), panel.window()); }},
      {"register no window", [&] { return ZEARegisterZuntPanel(name.c_str(), nullptr); }},
      {"deregister 101 characters", [&] { return ZEADeregisterZuntPanel(tooLongPanel.c_str()); }},
      {"deregister no name", [&] { return ZEADeregisterZuntPanel(nullptr); }},
  };

  MutexHolder holder;
  ASSERT_TRUE(holder.holding());
  // A call that went for the lock now would wait for it (a full second);
  // refused arguments answer at once.
  for (auto& c : cases) {
    bool result = true;
    auto refused = timed([&] { result = c.call(); });
    EXPECT_FALSE(result) << c.what;
    EXPECT_LT(refused.count(), 500) << c.what;
  }
  // The control: a sound call waits until the holder lets go, then runs.
  holder.releaseIn(std::chrono::milliseconds(300));
  bool result = false;
  auto waited = timed([&] { result = ZEATriggerLogicalEvent(name.c_str(), "Refresh"); });
  EXPECT_TRUE(result);
  EXPECT_GE(waited.count(), 250);
  EXPECT_EQ(panel.received().size(), 1u);
}

TEST(LogicalEventTrigger, APanelMayRegisterWhileItRunsTheEvent) {
  // The receiver runs on another thread; its handler opens a "panel" of its
  // own. The trigger holds no lock while it waits for the answer, so the
  // registration succeeds instead of timing out.
  const std::string name = uniqueName("Oeffnet");
  const std::string opened = uniqueName("Geoeffnet");
  std::atomic<bool> registeredInHandler{false};
  std::atomic<bool> started{false};
  std::atomic<bool> stop{false};
  std::thread receiver([&] {
    TestPanel panel;
    panel.onEvent = [&] { registeredInHandler = ZEARegisterZuntPanel(opened.c_str(), panel.window()); };
    EXPECT_TRUE(ZEARegisterZuntPanel(name.c_str(), panel.window()));
    started = true;
    while (!stop) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ZEADeregisterZuntPanel(opened.c_str());
    ZEADeregisterZuntPanel(name.c_str());
  });
  while (!started) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  EXPECT_TRUE(ZEATriggerLogicalEvent(name.c_str(), "Open"));
  EXPECT_TRUE(registeredInHandler);
  stop = true;
  receiver.join();
  TableView table;
  EXPECT_TRUE(table.slotsNamed(opened).empty());
  EXPECT_TRUE(table.slotsNamed(name).empty());
}

}  // namespace
}  // namespace zuntext::test
