#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

struct Rgn {
  HRGN h;
  explicit Rgn(HRGN r) : h(r) {}
  Rgn(int l, int t, int r, int b) : h(CreateRectRgn(l, t, r, b)) {}
  ~Rgn() { DeleteObject(h); }
  operator HRGN() const { return h; }
};

TEST(Region, CombineTable) {
  // A = [0,10)x[0,10), B = [5,15)x[5,15); the area and box of each operation.
  struct Case {
    int mode;
    int complexity;
    int area;
    RECT box;
  } cases[] = {
      {RGN_AND, SIMPLEREGION, 25, {5, 5, 10, 10}},
      {RGN_OR, COMPLEXREGION, 175, {0, 0, 15, 15}},
      {RGN_XOR, COMPLEXREGION, 150, {0, 0, 15, 15}},
      {RGN_DIFF, COMPLEXREGION, 75, {0, 0, 10, 10}},
      {RGN_COPY, SIMPLEREGION, 100, {0, 0, 10, 10}},
  };
  for (const auto& c : cases) {
    Rgn a(0, 0, 10, 10), b(5, 5, 15, 15), d(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.complexity) << c.mode;
    RECT box;
    GetRgnBox(d, &box);
    EXPECT_EQ(box.left, c.box.left);
    EXPECT_EQ(box.top, c.box.top);
    EXPECT_EQ(box.right, c.box.right);
    EXPECT_EQ(box.bottom, c.box.bottom);
    int area = 0;
    for (int y = -1; y < 16; ++y)
      for (int x = -1; x < 16; ++x) area += PtInRegion(d, x, y) ? 1 : 0;
    EXPECT_EQ(area, c.area) << c.mode;
  }
}

TEST(Region, EmptyResultsAndErrors) {
  Rgn a(0, 0, 10, 10), b(20, 20, 30, 30), d(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), NULLREGION);
  EXPECT_EQ(CombineRgn(d, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(d, a, b, 99), ERROR);
  SetLastError(0);
  EXPECT_EQ(CombineRgn(d, reinterpret_cast<HRGN>(0x1234), b, RGN_OR), ERROR);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(OffsetRgn(nullptr, 1, 1), ERROR);
  EXPECT_FALSE(PtInRegion(nullptr, 0, 0));
}

TEST(Region, EqualAfterDifferentConstructions) {
  // The same area built two ways has one representation.
  Rgn left(0, 0, 5, 10), right(5, 0, 10, 10), whole(0, 0, 10, 10), sum(0, 0, 0, 0);
  CombineRgn(sum, left, right, RGN_OR);
  EXPECT_TRUE(EqualRgn(sum, whole));
  EXPECT_EQ(GetRgnBox(sum, nullptr), ERROR);
  RECT box;
  EXPECT_EQ(GetRgnBox(sum, &box), SIMPLEREGION);
  Rgn other(0, 0, 10, 11);
  EXPECT_FALSE(EqualRgn(sum, other));
}

TEST(Region, OffsetSetRectAndRectIn) {
  Rgn r(0, 0, 10, 10);
  EXPECT_EQ(OffsetRgn(r, 5, -5), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(r, 5, -5));
  EXPECT_FALSE(PtInRegion(r, 15, 0));  // right and bottom edges are outside
  RECT inside{14, 4, 20, 20}, outside{15, 0, 20, 5};
  EXPECT_TRUE(RectInRegion(r, &inside));
  EXPECT_FALSE(RectInRegion(r, &outside));
  EXPECT_TRUE(SetRectRgn(r, 10, 10, 0, 0));  // corners in any order
  EXPECT_TRUE(PtInRegion(r, 0, 0));
  EXPECT_TRUE(SetRectRgn(r, 0, 0, 0, 0));
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
}

TEST(Region, EllipseIsSymmetricAndInsideItsBox) {
  Rgn e(CreateEllipticRgn(0, 0, 20, 10));
  RECT box;
  EXPECT_EQ(GetRgnBox(e, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      EXPECT_EQ(PtInRegion(e, x, y), PtInRegion(e, 19 - x, y));
      EXPECT_EQ(PtInRegion(e, x, y), PtInRegion(e, x, 9 - y));
    }
  EXPECT_TRUE(PtInRegion(e, 10, 5));
  EXPECT_FALSE(PtInRegion(e, 0, 0));
}

TEST(Region, RoundRectAndPolygon) {
  Rgn rr(CreateRoundRectRgn(0, 0, 20, 20, 8, 8));
  EXPECT_FALSE(PtInRegion(rr, 0, 0));
  EXPECT_TRUE(PtInRegion(rr, 0, 10));
  EXPECT_TRUE(PtInRegion(rr, 10, 0));
  POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
  Rgn t(CreatePolygonRgn(tri, 3, ALTERNATE));
  EXPECT_TRUE(PtInRegion(t, 1, 1));
  EXPECT_FALSE(PtInRegion(t, 9, 9));
  EXPECT_EQ(CreatePolygonRgn(tri, 1, ALTERNATE), nullptr);
}

TEST(Region, DeletedHandleIsInvalid) {
  HRGN r = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(GetObjectType(r), static_cast<DWORD>(OBJ_REGION));
  EXPECT_TRUE(DeleteObject(r));
  EXPECT_FALSE(DeleteObject(r));
  EXPECT_EQ(GetObjectType(r), 0u);
}

}  // namespace

namespace {

TEST(Region, RegionDataRoundTrip) {
  Rgn a(0, 0, 10, 10), b(5, 5, 15, 15), u(0, 0, 0, 0);
  CombineRgn(u, a, b, RGN_OR);
  DWORD size = GetRegionData(u, 0, nullptr);
  EXPECT_EQ(size, sizeof(RGNDATAHEADER) + 3 * sizeof(RECT));  // three bands
  std::vector<BYTE> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  EXPECT_EQ(GetRegionData(u, size - 1, data), 0u);
  EXPECT_EQ(GetRegionData(u, size, data), size);
  EXPECT_EQ(data->rdh.nCount, 3u);
  EXPECT_EQ(data->rdh.rcBound.right, 15);
  Rgn back(ExtCreateRegion(nullptr, size, data));
  EXPECT_TRUE(EqualRgn(back, u));
  XFORM shift{1, 0, 0, 1, 100, 0};
  Rgn moved(ExtCreateRegion(&shift, size, data));
  EXPECT_TRUE(PtInRegion(moved, 100, 0));
  data->rdh.nCount = 1000;  // more rectangles than the data holds
  EXPECT_EQ(ExtCreateRegion(nullptr, size, data), nullptr);
}

}  // namespace
