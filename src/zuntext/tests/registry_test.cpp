// Registering and deregistering panels: the slot each registration fills,
// the table's 50-slot limit, reclaiming slots of dead windows, the thread
// that owns a registration, case and length of names.
#include "ky721ZuntExt.h"

#include "tableview.h"
#include "testpanel.h"

#include <gtest/gtest.h>

#include <thread>

namespace zuntext::test {
namespace {

// Runs `work` on a thread of its own and answers its result.
bool onOtherThread(const std::function<bool()>& work) {
  bool result = false;
  std::thread([&] { result = work(); }).join();
  return result;
}

TEST(PanelRegistry, TheLibrarySetUpTheTableAtLoad) {
  TableView table;
  ASSERT_TRUE(table.opened());
}

TEST(PanelRegistry, ARegistrationFillsASlotInTheStoredLayout) {
  TestPanel panel;
  const std::string name = uniqueName("Kundenstamm");
  ASSERT_TRUE(ZEARegisterZuntPanel(name.c_str(), panel.window()));

  TableView table;
  ASSERT_TRUE(table.opened());
  auto found = table.slotsNamed(name);
  ASSERT_EQ(found.size(), 1u);
  const BYTE* bytes = table.bytes(found[0]);
  uint32_t window = 0, thread = 0;
  std::memcpy(&window, bytes + 0, 4);
  std::memcpy(&thread, bytes + 108, 4);
  EXPECT_EQ(window, handleValue(panel.window()));
  EXPECT_EQ(thread, GetCurrentThreadId());
  EXPECT_EQ(std::memcmp(bytes + 4, name.c_str(), name.size() + 1), 0);
  for (size_t i = 4 + name.size(); i < 108; ++i) EXPECT_EQ(bytes[i], 0) << i;  // the rest of the name field is zero

  EXPECT_TRUE(ZEADeregisterZuntPanel(name.c_str()));
  EXPECT_TRUE(table.slotsNamed(name).empty());
  EXPECT_EQ(table.slot(found[0]).window, 0u);
  EXPECT_EQ(table.slot(found[0]).name, "");
}

TEST(PanelRegistry, TheFiftyFirstRegistrationFindsTheTableFull) {
  TableView table;
  ASSERT_TRUE(table.opened());
  TestPanel panel;
  const std::string stem = uniqueName("Voll");
  // Holding the mutex keeps other processes of the user from taking or
  // freeing slots meanwhile; this thread's own calls still get it.
  ASSERT_TRUE(table.lock());
  const size_t free = table.freeSlots();
  size_t registered = 0;
  for (size_t i = 0; i < free; ++i)
    registered += ZEARegisterZuntPanel((stem + "-" + std::to_string(i)).c_str(), panel.window());
  EXPECT_EQ(registered, free);
  EXPECT_EQ(table.freeSlots(), 0u);
  EXPECT_FALSE(ZEARegisterZuntPanel((stem + "-over").c_str(), panel.window()));
  EXPECT_TRUE(table.slotsNamed(stem + "-over").empty());

  size_t freed = 0;
  for (size_t i = 0; i < free; ++i) freed += ZEADeregisterZuntPanel((stem + "-" + std::to_string(i)).c_str());
  EXPECT_EQ(freed, free);
  EXPECT_EQ(table.freeSlots(), free);
  table.unlock();
}

TEST(PanelRegistry, TheSlotOfADestroyedWindowIsFreedByAnyThread) {
  TableView table;
  const std::string name = uniqueName("Auftrag");
  TestPanel dead, alive;
  ASSERT_TRUE(ZEARegisterZuntPanel(name.c_str(), alive.window()));
  ASSERT_TRUE(ZEARegisterZuntPanel(name.c_str(), dead.window()));
  const uint32_t deadHandle = handleValue(dead.window());
  dead.destroy();

  // Another thread registered nothing, yet the dead window's slot is its to
  // free (before the live one that comes first in slot order).
  EXPECT_TRUE(onOtherThread([&] { return ZEADeregisterZuntPanel(name.c_str()); }));
  auto left = table.slotsNamed(name);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(table.slot(left[0]).window, handleValue(alive.window()));
  EXPECT_NE(table.slot(left[0]).window, deadHandle);
  // The live window's registration belongs to this thread only.
  EXPECT_FALSE(onOtherThread([&] { return ZEADeregisterZuntPanel(name.c_str()); }));
  EXPECT_TRUE(ZEADeregisterZuntPanel(name.c_str()));
  EXPECT_TRUE(table.slotsNamed(name).empty());
}

TEST(PanelRegistry, ALiveRegistrationIsFreedOnlyByTheThreadThatMadeIt) {
  TableView table;
  const std::string name = uniqueName("Lager");
  TestPanel mine, theirs;
  ASSERT_TRUE(ZEARegisterZuntPanel(name.c_str(), mine.window()));
  DWORD otherThread = 0;
  std::thread other([&] {
    otherThread = GetCurrentThreadId();
    ASSERT_TRUE(ZEARegisterZuntPanel(name.c_str(), theirs.window()));
    // Its own slot is the second of the name: the first is not its to free.
    EXPECT_TRUE(ZEADeregisterZuntPanel(name.c_str()));
    EXPECT_FALSE(ZEADeregisterZuntPanel(name.c_str()));
  });
  other.join();
  auto left = table.slotsNamed(name);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(table.slot(left[0]).window, handleValue(mine.window()));
  EXPECT_EQ(table.slot(left[0]).threadId, GetCurrentThreadId());
  EXPECT_NE(table.slot(left[0]).threadId, otherThread);
  EXPECT_TRUE(ZEADeregisterZuntPanel(name.c_str()));
  EXPECT_FALSE(ZEADeregisterZuntPanel(name.c_str()));
}

TEST(PanelRegistry, NamesCompareIgnoringAsciiCase) {
  TableView table;
  TestPanel panel;
  const std::string pid = std::to_string(::getpid());
  struct Case {
    std::string registered, deregistered;
    bool same;
  } cases[] = {
      {"Kundenstamm-" + pid, "KUNDENSTAMM-" + pid, true},
      {"mixed Case 7-" + pid, "MIXED case 7-" + pid, true},
      {"Kunde-" + pid, "Kunden-" + pid, false},
      // _stricmp folds ASCII letters only: 0xC4 and 0xE4 (A and a umlaut in
      // code page 1252) are different names.
      {"\xC4nderung-" + pid, "\xE4nderung-" + pid, false},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(ZEARegisterZuntPanel(c.registered.c_str(), panel.window()));
    EXPECT_EQ(ZEADeregisterZuntPanel(c.deregistered.c_str()), c.same) << c.registered;
    EXPECT_EQ(table.slotsNamed(c.registered).empty(), c.same) << c.registered;
    if (!c.same) {
      EXPECT_TRUE(ZEADeregisterZuntPanel(c.registered.c_str()));
    }
  }
}

TEST(PanelRegistry, NamesOfMoreThanOneHundredCharactersAreRefused) {
  TableView table;
  TestPanel panel;
  const std::string stem = uniqueName("L");
  const std::string longest = stem + std::string(100 - stem.size(), 'x');
  const std::string tooLong = longest + "x";
  ASSERT_EQ(longest.size(), 100u);

  EXPECT_FALSE(ZEARegisterZuntPanel(tooLong.c_str(), panel.window()));
  EXPECT_TRUE(table.slotsNamed(tooLong).empty());
  ASSERT_TRUE(ZEARegisterZuntPanel(longest.c_str(), panel.window()));
  auto found = table.slotsNamed(longest);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(table.bytes(found[0])[4 + 100], 0);  // the NUL fits the 104-byte field
  EXPECT_FALSE(ZEADeregisterZuntPanel(tooLong.c_str()));
  EXPECT_TRUE(ZEADeregisterZuntPanel(longest.c_str()));
}

TEST(PanelRegistry, MissingNamesAndWindowsAreRefused) {
  TestPanel panel;
  const std::string name = uniqueName("Fehlt");
  TestPanel gone;
  HWND goneWindow = gone.window();
  gone.destroy();
  struct Case {
    const char* name;
    HWND window;
  } cases[] = {{nullptr, panel.window()}, {name.c_str(), nullptr}, {name.c_str(), goneWindow},
               {name.c_str(), reinterpret_cast<HWND>(uintptr_t{0x7FFFFFF0})}};
  for (const auto& c : cases) EXPECT_FALSE(ZEARegisterZuntPanel(c.name, c.window));
  EXPECT_FALSE(ZEADeregisterZuntPanel(nullptr));
  EXPECT_FALSE(ZEADeregisterZuntPanel(name.c_str()));  // nothing registered under it
}

TEST(PanelRegistry, AnEmptyNameNeverMatchesAFreeSlot) {
  // Free slots have an empty name; deregistering "" must not "free" one of
  // them and report success.
  TableView table;
  TestPanel panel;
  ASSERT_TRUE(table.lock());
  const size_t free = table.freeSlots();
  const size_t emptyBefore = table.slotsNamed("").size();
  ASSERT_GT(free, 0u);
  ASSERT_TRUE(ZEARegisterZuntPanel("", panel.window()));
  EXPECT_EQ(table.slotsNamed("").size(), emptyBefore + 1);
  EXPECT_TRUE(ZEADeregisterZuntPanel(""));
  EXPECT_EQ(table.freeSlots(), free);
  if (emptyBefore == 0) {
    EXPECT_FALSE(ZEADeregisterZuntPanel(""));
  }
  table.unlock();
}

}  // namespace
}  // namespace zuntext::test
