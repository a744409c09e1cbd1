// What the grid tests share: a panel that records notifications (and may
// veto some), grids made on it with columns added through the exports,
// cells read back as text, and synthetic input.
#pragma once

#include <gtest/gtest.h>
#include <internal/testinput.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "grid.h"
#include "notifyparent.h"
#include "ravlets.h"

namespace gridtest {

namespace input = win32::input;

struct Column {
  const char* title;
  char type, storage;
  int length;
  char fieldClass = 'e';
  const char* picture = "";
  WORD flags = 0;
};

class GridTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RavletsInit("KYWA721")); }
  void SetUp() override {
    panel = nwitest::makePanel(640, 480);
    ASSERT_NE(panel, nullptr);
    input::pumpMessages();
  }
  void TearDown() override {
    DestroyWindow(panel);
    input::pumpMessages();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  // A grid with no layout of its name: the default set with these options.
  HWND makeGrid(DWORD options, const std::vector<Column>& columns, int width = 400, int height = 300,
                const char* name = "") {
    HWND grid = CreateWindowExA(0, "KYWA721Grid", name, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | options, 0,
                                0, width, height, panel, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    EXPECT_NE(grid, nullptr);
    for (const Column& c : columns) {
      HGField* field = HGFieldCreate(c.title, c.flags, 80, 100, c.type, c.storage, c.type, c.storage, c.length,
                                     c.fieldClass, 0, c.picture);
      EXPECT_GE(SendMessageA(grid, KYM_GRIDADDFIELD, 0, reinterpret_cast<LPARAM>(field)), 0) << c.title;
    }
    input::pumpMessages();
    return grid;
  }
  static int rows(HWND grid) { return static_cast<int>(SendMessageA(grid, KYM_GRIDROWCOUNT, 0, 0)); }
  static int appendRow(HWND grid) { return static_cast<int>(SendMessageA(grid, KYM_GRIDAPPENDROW, 0, 0)) - 1; }
  static std::string text(HWND grid, int column, int row) {
    char buffer[300] = {};
    HGGetCellText(grid, column, row, buffer, sizeof buffer);
    return buffer;
  }
  static bool setText(HWND grid, int column, int row, const char* value) {
    return HGSetCellText(grid, column, row, value) == 1;
  }
  static LRESULT send(HWND grid, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(grid, message, wParam, lParam);
  }
  static LPARAM cell(int column, int row) { return static_cast<LPARAM>(MAKELONG(column, row)); }
  void key(UINT vk, bool shift = false, bool ctrl = false) {
    input::chord(vk, shift, ctrl);
    input::pumpMessages();
  }
  std::vector<int> codes() const {
    std::vector<int> all;
    for (const auto& n : nwitest::notifyLog().received) all.push_back(n.code);
    return all;
  }
  HWND panel = nullptr;
};

// A directory of the test's own, removed afterwards; the process's current
// directory while it lives.
struct ScratchDirectory {
  std::string path;
  std::string previous;
  ScratchDirectory() {
    char pattern[] = "/tmp/gridtestXXXXXX";
    path = mkdtemp(pattern) ? pattern : "";
    char here[4096] = {};
    previous = getcwd(here, sizeof here) ? here : "/";
    if (!path.empty()) (void)chdir(path.c_str());
  }
  ~ScratchDirectory() {
    (void)chdir(previous.c_str());
    if (!path.empty()) (void)std::system(("rm -rf '" + path + "'").c_str());
  }
};

}  // namespace gridtest
