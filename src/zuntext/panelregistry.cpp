// Registering and deregistering panels in the shared table, and raising a
// logical event on the live panels of a name.
#include "ky721ZuntExt.h"

#include "paneltable.h"

#include <internal/wait.h>
#include <mscrt.h>

#include <array>
#include <atomic>
#include <cstring>

namespace zuntext {
namespace {

// dwData of the event message: the bytes "ZEA" and NUL, read little-endian.
constexpr ULONG_PTR kEventTag = 0x0041455A;
// The event message's data: a u32 0, then the event name and its NUL.
constexpr std::size_t kPayloadBytes = 56;
constexpr std::size_t kPayloadNameOffset = 4;
static_assert(kPayloadNameOffset + kLongestEventName + 1 <= kPayloadBytes);

// A name of at most `longest` characters; strnlen never reads past it.
bool fitsIn(const char* name, std::size_t longest) { return ::strnlen(name, longest + 1) <= longest; }

HWND windowOf(const PanelSlot& slot) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(slot.window)); }

// A taken slot (a free one has window 0 and an empty name, which must not
// match an empty name) registered under `name`, which has at most 100
// characters. The compare stays within the name field: any program of the
// user can write the table, and a field without its NUL must not lead the
// compare past the end of the view.
bool holds(const PanelSlot& slot, const char* name) {
  return slot.window != 0 && _strnicmp(slot.name, name, sizeof slot.name) == 0;
}

// The window handle is written last when a slot is taken and first when it
// is freed, so that a process dying in between leaves a free slot, never a
// live handle under a half-written name.
void take(PanelSlot& slot, const char* name, HWND window, DWORD threadId) {
  std::memset(slot.name, 0, sizeof slot.name);
  std::memcpy(slot.name, name, std::strlen(name));
  slot.threadId = threadId;
  std::atomic_ref(slot.window).store(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)));
}

// A slot left behind by a panel that can never deregister: its window is
// gone and so is the thread that registered it (a process that died leaves
// both). A window destroyed in a live thread keeps its slot until that
// thread deregisters the name: taking it meanwhile would make the
// deregistration free another panel of the same name and thread.
bool abandoned(const PanelSlot& slot) {
  return slot.window != 0 && !IsWindow(windowOf(slot)) && !win32::threadRunning(slot.threadId);
}

void release(PanelSlot& slot) {
  std::atomic_ref(slot.window).store(0);
  std::memset(slot.name, 0, sizeof slot.name);
  slot.threadId = 0;
}

}  // namespace
}  // namespace zuntext

using namespace zuntext;

bool ZEARegisterZuntPanel(const char* pszName, HWND hWnd) {
  if (!pszName || !fitsIn(pszName, kLongestPanelName) || !IsWindow(hWnd)) return false;
  TableLock lock;
  PanelSlot* slots = lock.slots();
  if (!slots) return false;
  // A free slot first; with none, one that a dead process left (a process
  // killed before it deregistered would otherwise hold its slots until
  // someone deregistered its names, and enough of them fill the table).
  PanelSlot* chosen = nullptr;
  for (std::size_t i = 0; i < kSlotCount && !chosen; ++i)
    if (slots[i].window == 0) chosen = &slots[i];
  for (std::size_t i = 0; i < kSlotCount && !chosen; ++i)
    if (abandoned(slots[i])) chosen = &slots[i];
  if (!chosen) return false;  // every slot is a live panel's; duplicates of a name are allowed
  // Retracting the old registration first keeps a crash in between from
  // leaving the dead window under the new name.
  if (chosen->window != 0) release(*chosen);
  take(*chosen, pszName, hWnd, GetCurrentThreadId());
  return true;
}

bool ZEADeregisterZuntPanel(const char* pszName) {
  if (!pszName || !fitsIn(pszName, kLongestPanelName)) return false;
  TableLock lock;
  PanelSlot* slots = lock.slots();
  if (!slots) return false;
  // A panel whose window died never deregistered (its process may have
  // crashed): its slot goes to whoever deregisters the name next.
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    if (holds(slots[i], pszName) && !IsWindow(windowOf(slots[i]))) {
      release(slots[i]);
      return true;
    }
  }
  const DWORD self = GetCurrentThreadId();
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    if (holds(slots[i], pszName) && slots[i].threadId == self) {
      release(slots[i]);
      return true;
    }
  }
  return false;
}

extern "C" bool ZEATriggerLogicalEvent(const char* pszPanelName, const char* pszEventName) {
  // A panel name of more than 100 characters can be in no slot.
  if (!pszPanelName || !*pszPanelName || !fitsIn(pszPanelName, kLongestPanelName) || !pszEventName ||
      !*pszEventName || !fitsIn(pszEventName, kLongestEventName))
    return false;
  std::array<BYTE, kPayloadBytes> payload{};
  std::memcpy(payload.data() + kPayloadNameOffset, pszEventName, std::strlen(pszEventName));

  // The receivers are found under the lock but sent to after it is
  // released: a panel runs the event in its handler, which may open or close
  // panels (and so register in this table) or wait for its user; holding the
  // user-wide lock meanwhile would make every registration elsewhere fail.
  std::array<HWND, kSlotCount> receivers{};
  std::size_t count = 0;
  {
    TableLock lock;
    PanelSlot* slots = lock.slots();
    if (!slots) return false;
    for (std::size_t i = 0; i < kSlotCount; ++i)
      if (holds(slots[i], pszPanelName) && IsWindow(windowOf(slots[i]))) receivers[count++] = windowOf(slots[i]);
  }
  if (count == 0) return false;

  bool everyoneRanIt = true;
  const WPARAM desktop = reinterpret_cast<WPARAM>(GetDesktopWindow());
  for (std::size_t i = 0; i < count; ++i) {
    // A receiver in this process gets the bytes themselves and may write
    // them: each receiver gets its own copy.
    std::array<BYTE, kPayloadBytes> data = payload;
    COPYDATASTRUCT message{kEventTag, static_cast<DWORD>(data.size()), data.data()};
    if (SendMessageA(receivers[i], WM_COPYDATA, desktop, reinterpret_cast<LPARAM>(&message)) == 0)
      everyoneRanIt = false;
  }
  return everyoneRanIt;
}
