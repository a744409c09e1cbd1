// Grid layouts: read from a file named after the window or from a resource
// of type 300, every version's header, streams cut short or refused, the
// options merged with the window's style, dialog units scaled to the font,
// and the design-mode table keyed by whole names.
//
// Fixtures (tests/data): orders.grs (18505, dialog units, 3 initial rows,
// columns Item and Qty), orders_pixels.grs (18506, pixels, the copy kept as
// resource RESGRID), old.grs (18503), twotitles.grs (18504), short.grs
// (three columns announced, the second cut), negative.grs (a negative title
// length) and badversion.grs (18502).
#include <cmath>
#include <fstream>
#include <string>

#include "gridfixture.h"
#include "library.h"

namespace {

using gridtest::GridTest;
using gridtest::ScratchDirectory;

class GridLayoutTest : public GridTest {
 protected:
  // Copies a fixture into the current (scratch) directory under `name`.
  static void place(const char* fixture, const std::string& name) {
    std::ifstream in(std::string(KY_TEST_DATA) + "/" + fixture, std::ios::binary);
    std::ofstream out(name, std::ios::binary);
    out << in.rdbuf();
  }
  HWND create(const char* name, DWORD style = WS_CHILD | WS_VISIBLE, HWND parent = nullptr,
              HINSTANCE module = nullptr) {
    return CreateWindowExA(0, "KYWA721Grid", name, style, 0, 0, 300, 200, parent ? parent : panel,
                           (style & WS_CHILD) ? reinterpret_cast<HMENU>(3) : nullptr, module, nullptr);
  }
  static HGridData* dataOf(HWND grid) { return reinterpret_cast<HGridData*>(SendMessageA(grid, KYM_GRIDGETDATA, 0, 0)); }
  static std::string title(HWND grid) {
    char text[64] = {};
    SendMessageA(grid, KYM_GRIDGETTITLE, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }
  ScratchDirectory scratch;
};

int scaled(int value, int to, int from) { return static_cast<int>(value * static_cast<double>(to) / from + 0.5); }

TEST_F(GridLayoutTest, AWindowNameFindsItsGrsFile) {
  place("orders.grs", "ORDERS.GRS");
  HWND grid = create("ORDERS");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(title(grid), "Orders");
  EXPECT_EQ(send(grid, KYM_GRIDCOLUMNCOUNT), 2);
  EXPECT_EQ(send(grid, KYM_GRIDGETFIXEDCOLS), 1);
  EXPECT_EQ(rows(grid), 3) << "the layout's initial rows";
  EXPECT_EQ(send(grid, KYM_GETSTYLE) & 0xFFFF, HGO_TITLES | HGO_ROWHEADER);
  char picture[16] = {};
  send(grid, KYM_GRIDGETFIELDPICTURE, 1, reinterpret_cast<LPARAM>(picture));
  EXPECT_STREQ(picture, "#,##0");
  // Sizes in dialog units: a quarter of the average width, an eighth of the height.
  const DWORD average = HCtlAvgCharSize(nullptr);
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDWIDTH, 0), scaled(40, LOWORD(average), 4));
  EXPECT_EQ(send(grid, KYM_GRIDGETROWHEIGHT), scaled(10, HIWORD(average), 8));
  EXPECT_EQ(send(grid, KYM_GRIDGETROWHDRWIDTH), scaled(20, LOWORD(average), 4));
}

TEST_F(GridLayoutTest, ANameWithADotIsTheExactFile) {
  place("orders.grs", "ORDERS.LAY");
  EXPECT_EQ(title(create("ORDERS.LAY")), "Orders");
  HWND none = create("MISSING");
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(send(none, KYM_GRIDCOLUMNCOUNT), 0) << "no layout: the default set";
  EXPECT_EQ(title(none), "");
}

TEST_F(GridLayoutTest, EveryVersionReadsItsHeader) {
  struct Case {
    const char* fixture;
    const char* title;  // "" for the default set
    int columns;
    bool bothBars;
  };
  const Case cases[] = {{"old.grs", "Old", 1, true},         {"twotitles.grs", "Title", 1, false},
                        {"short.grs", "Short", 1, false},    {"negative.grs", "", 0, false},
                        {"badversion.grs", "", 0, false}};
  for (const Case& c : cases) {
    place(c.fixture, "CASE.GRS");
    HWND grid = create("CASE");
    ASSERT_NE(grid, nullptr) << c.fixture;
    EXPECT_EQ(title(grid), c.title) << c.fixture;
    EXPECT_EQ(send(grid, KYM_GRIDCOLUMNCOUNT), c.columns) << c.fixture;
    const DWORD bars = WS_HSCROLL | WS_VSCROLL;
    if (c.bothBars) EXPECT_EQ(dataOf(grid)->options & bars, bars) << c.fixture;
    DestroyWindow(grid);
  }
}

TEST_F(GridLayoutTest, AResourceComesBeforeTheFile) {
  place("orders.grs", "RESGRID.GRS");
  HWND grid = create("RESGRID", WS_CHILD | WS_VISIBLE, nullptr, GetModuleHandleA(nullptr));
  EXPECT_EQ(title(grid), "From resource");
  EXPECT_EQ(send(grid, KYM_GRIDGETROWHEIGHT), 22) << "a layout in pixels is taken as it is";
  EXPECT_EQ(title(create("RESGRID", WS_CHILD | WS_VISIBLE, nullptr, HCtlLibraryModule())), "Orders")
      << "another module has no such resource: the file";
}

// Each bit of the merge mask comes from the layout, every other bit from the
// window's own style; a window that is no child keeps its maximize box.
TEST_F(GridLayoutTest, OptionsAreMergedWithTheWindowStyle) {
  place("orders.grs", "ORDERS.GRS");
  HWND popup = create("ORDERS", WS_POPUP | WS_MAXIMIZEBOX, panel);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetWindowLongA(popup, GWL_STYLE) & WS_MAXIMIZEBOX, WS_MAXIMIZEBOX);
  EXPECT_EQ(GetWindowLongA(popup, GWL_STYLE) & (HGO_TITLES | HGO_ROWHEADER), HGO_TITLES | HGO_ROWHEADER);
  DestroyWindow(popup);
  HWND child = create("ORDERS", WS_CHILD | WS_TABSTOP | WS_VISIBLE);
  EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP, 0) << "a child's tab stop comes from the layout";
  // Both words agree; showing the window at creation sets only the style's visible bit.
  EXPECT_EQ(send(child, KYM_GETSTYLE) & ~WS_VISIBLE, GetWindowLongA(child, GWL_STYLE) & ~WS_VISIBLE);
}

TEST_F(GridLayoutTest, AFontChangeRescalesDialogUnits) {
  place("orders.grs", "ORDERS.GRS");
  HWND grid = create("ORDERS");
  const LRESULT width = send(grid, KYM_GRIDGETFIELDWIDTH, 0);
  const LRESULT height = send(grid, KYM_GRIDGETROWHEIGHT);
  HFONT big = CreateFontA(-32, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  const DWORD before = HCtlAvgCharSize(nullptr), after = HCtlAvgCharSize(big);
  ASSERT_NE(before, after);
  send(grid, WM_SETFONT, reinterpret_cast<WPARAM>(big), 0);
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDWIDTH, 0), scaled(static_cast<int>(width), LOWORD(after), LOWORD(before)));
  EXPECT_EQ(send(grid, KYM_GRIDGETROWHEIGHT), scaled(static_cast<int>(height), HIWORD(after), HIWORD(before)));
  DestroyWindow(grid);
  DeleteObject(big);
}

// Under a design host, layouts live in the library's table; names that share
// their first thirteen characters are still two layouts.
TEST_F(GridLayoutTest, TheDesignTableKeepsWholeNames) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "RWSWndGridTest";
  RegisterClassA(&wc);
  HWND host = CreateWindowExA(0, "RWSWndGridTest", "host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                              nullptr);
  ASSERT_NE(host, nullptr);
  HWND first = create("LayoutNameLong_A", WS_CHILD | WS_VISIBLE, host);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(rows(first), 20) << "a design default holds twenty rows";
  send(first, KYM_GRIDSETROWHEIGHT, 33, 0);
  DestroyWindow(first);  // the host keeps its definition, in dialog units
  HWND again = create("LayoutNameLong_A", WS_CHILD | WS_VISIBLE, host);
  const int fontHeight = HIWORD(HCtlAvgCharSize(nullptr));
  EXPECT_EQ(send(again, KYM_GRIDGETROWHEIGHT), scaled(scaled(33, 8, fontHeight), fontHeight, 8));
  HWND other = create("LayoutNameLong_B", WS_CHILD | WS_VISIBLE, host);
  EXPECT_NE(send(other, KYM_GRIDGETROWHEIGHT), 33);
  DestroyWindow(host);
}

}  // namespace
