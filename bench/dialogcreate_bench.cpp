// A dialog of 200 controls made from an in-memory template against the same
// 200 windows made one by one with CreateWindowExA: what the dialog manager
// and the machine-wide handle registry add to plain window creation.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kControls = 200;
// Button, Edit and Static by their template atoms, and their class names.
constexpr WORD kAtoms[] = {0x0080, 0x0081, 0x0082};
constexpr const char* kClasses[] = {"Button", "Edit", "Static"};

void put(std::vector<BYTE>& bytes, const void* data, size_t size) {
  const auto* p = static_cast<const BYTE*>(data);
  bytes.insert(bytes.end(), p, p + size);
}
void putWord(std::vector<BYTE>& bytes, WORD w) { put(bytes, &w, sizeof w); }
void alignDword(std::vector<BYTE>& bytes) {
  while (bytes.size() % 4) bytes.push_back(0);
}

std::vector<BYTE> dialogTemplate() {
  std::vector<BYTE> bytes;
  DLGTEMPLATE dialog{};
  dialog.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
  dialog.cdit = kControls;
  dialog.cx = 400;
  dialog.cy = 300;
  put(bytes, &dialog, sizeof dialog);
  putWord(bytes, 0);  // no menu
  putWord(bytes, 0);  // the dialog class
  putWord(bytes, 0);  // no title
  putWord(bytes, 8);  // point size, then the face
  for (char c : std::string("MS Sans Serif")) putWord(bytes, (WORD)c);
  putWord(bytes, 0);
  for (int i = 0; i < kControls; ++i) {
    alignDword(bytes);
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE;
    item.x = (short)(i % 10 * 38);
    item.y = (short)(i / 10 * 14);
    item.cx = 36;
    item.cy = 12;
    item.id = (WORD)(100 + i);
    put(bytes, &item, sizeof item);
    putWord(bytes, 0xFFFF);
    putWord(bytes, kAtoms[i % 3]);
    for (char c : std::string("Item")) putWord(bytes, (WORD)c);
    putWord(bytes, 0);
    putWord(bytes, 0);  // no creation data
  }
  return bytes;
}

INT_PTR CALLBACK dialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

void BM_DialogOf200Controls(benchmark::State& state) {
  const std::vector<BYTE> bytes = dialogTemplate();
  for (auto _ : state) {
    HWND dialog = CreateDialogIndirectParamA(nullptr, (LPCDLGTEMPLATEA)bytes.data(), nullptr, dialogProc, 0);
    if (!dialog) {
      state.SkipWithError("the dialog was not made");
      break;
    }
    state.PauseTiming();
    DestroyWindow(dialog);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DialogOf200Controls)->Unit(benchmark::kMillisecond);

void BM_200WindowsOneByOne(benchmark::State& state) {
  for (auto _ : state) {
    HWND frame = CreateWindowExA(0, "Static", "", WS_POPUP | WS_CAPTION, 0, 0, 600, 500, nullptr, nullptr, nullptr,
                                 nullptr);
    for (int i = 0; i < kControls; ++i)
      CreateWindowExA(0, kClasses[i % 3], "Item", WS_CHILD | WS_VISIBLE, i % 10 * 57, i / 10 * 23, 54, 20, frame,
                      (HMENU)(INT_PTR)(100 + i), nullptr, nullptr);
    state.PauseTiming();
    DestroyWindow(frame);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_200WindowsOneByOne)->Unit(benchmark::kMillisecond);

}  // namespace
