// The value classes CPoint, CSize, CRect and the graphics wrappers: object
// ownership, selection giving the previous object back, temporary objects,
// drawing on a memory DC, point fonts.
#include <afxwin.h>

#include "afxstate.h"

#include <internal/snapshot.h>
#include <internal/testinput.h>

#include <gtest/gtest.h>

namespace {

TEST(Geometry, PointAndSizeArithmetic) {
  CPoint p(3, 4);
  p += CSize(1, 2);
  EXPECT_EQ(p, CPoint(4, 6));
  EXPECT_EQ(p - CPoint(1, 1), CSize(3, 5));
  EXPECT_EQ(-p, CPoint(-4, -6));
  EXPECT_EQ(CPoint(MAKELPARAM(-5, 7)), CPoint(-5, 7));  // signed words of lParam
  EXPECT_EQ(CSize(10, 20) + CSize(1, 1), CSize(11, 21));
  EXPECT_EQ(CSize(0x00050003u), CSize(3, 5));
}

TEST(Geometry, RectangleOperations) {
  struct Case {
    CRect a, b;
    BOOL intersects;
    CRect intersection, unionRect;
  } cases[] = {
      {CRect(0, 0, 10, 10), CRect(5, 5, 15, 15), TRUE, CRect(5, 5, 10, 10), CRect(0, 0, 15, 15)},
      {CRect(0, 0, 10, 10), CRect(10, 0, 20, 10), FALSE, CRect(), CRect(0, 0, 20, 10)},  // touching edges
      {CRect(0, 0, 0, 10), CRect(1, 1, 2, 2), FALSE, CRect(), CRect(1, 1, 2, 2)},        // empty one
      {CRect(), CRect(), FALSE, CRect(), CRect()},
  };
  for (const Case& c : cases) {
    CRect i, u;
    EXPECT_EQ(i.IntersectRect(&c.a, &c.b), c.intersects);
    EXPECT_EQ(i, c.intersection);
    u.UnionRect(&c.a, &c.b);
    EXPECT_EQ(u, c.unionRect);
    EXPECT_EQ(c.a & c.b, c.intersection);
    EXPECT_EQ(c.a | c.b, c.unionRect);
  }
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_EQ(r.Size(), CSize(100, 50));
  EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));  // right and bottom are outside
  r.TopLeft() = CPoint(0, 0);
  EXPECT_EQ(r, CRect(0, 0, 110, 70));
  r.DeflateRect(10, 5);
  EXPECT_EQ(r, CRect(10, 5, 100, 65));
  r.OffsetRect(CPoint(1, 1));
  EXPECT_EQ(r, CRect(11, 6, 101, 66));
  CRect n(10, 10, 0, 0);
  EXPECT_TRUE(n.IsRectEmpty());
  n.NormalizeRect();
  EXPECT_EQ(n, CRect(0, 0, 10, 10));
  CRect s;
  EXPECT_TRUE(s.SubtractRect(CRect(0, 0, 10, 10), CRect(5, -1, 11, 11)));
  EXPECT_EQ(s, CRect(0, 0, 5, 10));
  EXPECT_TRUE(s.SubtractRect(CRect(0, 0, 10, 10), CRect(2, 2, 4, 4)));  // a hole does not shrink it
  EXPECT_EQ(s, CRect(0, 0, 10, 10));
  EXPECT_EQ(CRect(0, 0, 10, 20).MulDiv(3, 2), CRect(0, 0, 15, 30));
  EXPECT_EQ(CRect(nullptr), CRect());
}

// A memory DC with a 20 x 20 bitmap selected.
class MemoryDC : public ::testing::Test {
 protected:
  void SetUp() override {
    CClientDC screen(nullptr);
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 20));
    oldBitmap = dc.SelectObject(&bitmap);
    ASSERT_NE(oldBitmap, nullptr);
  }
  void TearDown() override { dc.SelectObject(oldBitmap); }
  CDC dc;
  CBitmap bitmap;
  CBitmap* oldBitmap = nullptr;
};

TEST_F(MemoryDC, FillsAndFramesAndReadsPixels) {
  dc.FillSolidRect(CRect(0, 0, 20, 20), RGB(255, 255, 255));
  EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));  // left at the fill colour, as documented
  dc.FillSolidRect(2, 2, 4, 4, RGB(255, 0, 0));
  EXPECT_EQ(dc.GetPixel(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(dc.GetPixel(6, 6), RGB(255, 255, 255));
  dc.Draw3dRect(CRect(10, 10, 20, 20), RGB(0, 0, 255), RGB(0, 255, 0));
  EXPECT_EQ(dc.GetPixel(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(dc.GetPixel(19, 19), RGB(0, 255, 0));
  EXPECT_EQ(dc.GetPixel(15, 15), RGB(255, 255, 255));
  CBrush brush(RGB(0, 128, 0));
  dc.FillRect(CRect(0, 15, 5, 20), &brush);
  EXPECT_EQ(dc.GetPixel(1, 16), RGB(0, 128, 0));
}

TEST_F(MemoryDC, SelectionGivesThePreviousObjectBack) {
  CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
  CPen* pOld = dc.SelectObject(&pen);
  ASSERT_NE(pOld, nullptr);
  // The stock pen belongs to no object: a temporary object of its kind.
  EXPECT_TRUE(pOld->IsKindOf(RUNTIME_CLASS(CPen)));
  EXPECT_EQ(dc.GetCurrentPen(), &pen);  // an owned handle gives its owner
  dc.FillSolidRect(CRect(0, 0, 20, 20), RGB(255, 255, 255));
  dc.MoveTo(0, 5);
  dc.LineTo(20, 5);
  EXPECT_EQ(dc.GetPixel(10, 5), RGB(0, 0, 255));
  EXPECT_EQ(dc.SelectObject(pOld), &pen);
  EXPECT_EQ(CGdiObject::FromHandle(pen.m_hObject), &pen);
}

TEST_F(MemoryDC, SaveAndRestoreAndMapping) {
  COLORREF before = dc.GetTextColor();
  int saved = dc.SaveDC();
  dc.SetTextColor(RGB(1, 2, 3));
  EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
  dc.SetMapMode(MM_TEXT);
  dc.SetViewportOrg(5, 5);
  CPoint p(0, 0);
  dc.LPtoDP(&p);
  EXPECT_EQ(p, CPoint(5, 5));
  CSize size(10, 10);
  dc.SetMapMode(MM_TWIPS);  // 1440 units an inch, y up
  dc.LPtoDP(&size);  // a size has no origin: only the scale applies
  EXPECT_EQ(size.cx, ::MulDiv(10, dc.GetDeviceCaps(LOGPIXELSX), 1440));
  EXPECT_TRUE(dc.RestoreDC(saved));
  EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
  EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
  EXPECT_EQ(dc.GetTextColor(), before);
}

TEST_F(MemoryDC, TextExtentsAndMetrics) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(100, "MS Sans Serif", &dc));
  LOGFONTA lf{};
  font.GetLogFont(&lf);
  // 10 points at the DC's vertical resolution, as a character height.
  EXPECT_EQ(lf.lfHeight, -::MulDiv(dc.GetDeviceCaps(LOGPIXELSY), 100, 720));
  CFont* pOld = dc.SelectObject(&font);
  TEXTMETRICA tm{};
  EXPECT_TRUE(dc.GetTextMetrics(&tm));
  EXPECT_GT(tm.tmHeight, 0);
  CSize one = dc.GetTextExtent("W", 1);
  CSize three = dc.GetTextExtent(CString("WWW"));
  EXPECT_GT(one.cx, 0);
  EXPECT_EQ(three.cx, one.cx * 3);
  CString face;
  EXPECT_GT(dc.GetTextFace(face), 0);
  dc.SelectObject(pOld);
}

// A window painting itself through CPaintDC in its OnPaint handler.
class Painted : public CWnd {
 public:
  int m_nPaints = 0;

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    ++m_nPaints;
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(0, 0, 200));
    CBrush red(RGB(200, 0, 0));
    CBrush* pOld = dc.SelectObject(&red);
    CPen* pOldPen = static_cast<CPen*>(dc.SelectStockObject(NULL_PEN));
    dc.Rectangle(10, 10, 31, 31);
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOld);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Painted, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(PaintDC, OnPaintDrawsThroughBeginAndEndPaint) {
  Painted wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "painted", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr, nullptr));
  wnd.UpdateWindow();
  EXPECT_EQ(wnd.m_nPaints, 1);
  EXPECT_EQ(win32::snapshot::windowPixel(wnd.m_hWnd, 5, 5), RGB(0, 0, 200));
  EXPECT_EQ(win32::snapshot::windowPixel(wnd.m_hWnd, 20, 20), RGB(200, 0, 0));
  RECT update;
  EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, &update, FALSE));  // EndPaint validated it
  CClientDC dc(&wnd);
  EXPECT_EQ(dc.GetPixel(20, 20), RGB(200, 0, 0));
}

TEST(GdiObjects, OwnedHandlesAreDeletedWithTheirObjects) {
  HGDIOBJ handle;
  {
    CBrush brush(RGB(1, 2, 3));
    handle = brush.m_hObject;
    EXPECT_EQ(brush.GetObjectType(), (UINT)OBJ_BRUSH);
    LOGBRUSH lb{};
    EXPECT_EQ(brush.GetLogBrush(&lb), (int)sizeof lb);
    EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
  }
  EXPECT_EQ(::GetObjectType(handle), 0u);
  // A detached handle stays.
  CPen pen;
  ASSERT_TRUE(pen.CreatePen(PS_DASH, 1, 0));
  HGDIOBJ kept = pen.Detach();
  EXPECT_EQ(pen.m_hObject, nullptr);
  EXPECT_NE(::GetObjectType(kept), 0u);
  ::DeleteObject(kept);
  // Null handles.
  EXPECT_FALSE(pen.Attach(nullptr));
  EXPECT_EQ(CGdiObject::FromHandle(nullptr), nullptr);
}

TEST(GdiObjects, TemporaryObjectsHaveTheHandlesKind) {
  HRGN raw = ::CreateRectRgn(0, 0, 5, 5);
  CGdiObject* temp = CGdiObject::FromHandle(raw);
  EXPECT_TRUE(temp->IsKindOf(RUNTIME_CLASS(CRgn)));
  EXPECT_EQ(CRgn::FromHandle(raw), temp);
  CRect box;
  EXPECT_EQ(static_cast<CRgn*>(temp)->GetRgnBox(&box), SIMPLEREGION);
  EXPECT_EQ(box, CRect(0, 0, 5, 5));
  CGdiObject::DeleteTempMap();
  EXPECT_NE(::GetObjectType(raw), 0u);  // freeing the object leaves the handle
  ::DeleteObject(raw);
}

TEST(GdiObjects, RegionsCombine) {
  CRgn a, b, c;
  ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
  ASSERT_TRUE(b.CreateRectRgn(5, 0, 15, 10));
  ASSERT_TRUE(c.CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(c.CombineRgn(&a, &b, RGN_OR), SIMPLEREGION);
  CRect box;
  c.GetRgnBox(&box);
  EXPECT_EQ(box, CRect(0, 0, 15, 10));
  EXPECT_TRUE(c.PtInRegion(12, 5));
  EXPECT_FALSE(a.EqualRgn(&b));
}

TEST(GdiObjects, AFailedConstructionThrowsAResourceException) {
  bool thrown = false;
  try {
    CBrush brush(static_cast<CBitmap*>(nullptr));
  } catch (CResourceException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
}

}  // namespace
