// The native spin field: steps within the limits that are set (none when
// none are), the status text, dates stepped by days or seconds, the
// increment as a number text, and the arrow stepping its buddy.
#include <cstring>

#include "datetime.h"
#include "natfixture.h"
#include "spin.h"

using namespace nattest;

namespace {

class SpinTest : public NativeTest {
 protected:
  KyGUICSpinButtonCtrlImp* spin(const char* picture, HWND* window) {
    *window = make<KyGUICSpinButtonCtrl>(picture);
    return dynamic_cast<KyGUICSpinButtonCtrlImp*>(CWnd::FromHandlePermanent(*window));
  }
  static double value(HWND w) {
    double v = -999;
    SendMessageA(w, KYM_GETDATA, sizeof v, ptr(&v));
    return v;
  }
};

constexpr double kNone = -1e300;  // no limit set

TEST_F(SpinTest, NumberStepsStopAtTheLimitsThatAreSet) {
  const struct {
    double start, minimum, maximum;
    UINT step;
    double expected;
    const char* status;
  } cases[] = {
      {10, 1, 10, NKM_STEPUP, 10, "maximum"},
      {1, 1, 10, NKM_STEPDOWN, 1, "minimum"},
      {5, 1, 10, NKM_STEPUP, 6, "6"},
      {0, kNone, kNone, NKM_STEPDOWN, -1, "-1"},  // no limits: past 0
      {0, kNone, kNone, NKM_STEPUP, 1, "1"},
      {-3, kNone, 10, NKM_STEPDOWN, -4, "-4"},
  };
  for (const auto& c : cases) {
    HWND w;
    KyGUICSpinButtonCtrlImp* imp = spin("%nd*0", &w);
    ASSERT_NE(imp, nullptr);
    if (c.minimum != kNone) SendMessageA(w, KYM_SETMIN, 0, ptr(&c.minimum));
    if (c.maximum != kNone) SendMessageA(w, KYM_SETMAX, 0, ptr(&c.maximum));
    SendMessageA(w, KYM_SETDATA, 0, ptr(&c.start));
    EXPECT_EQ(SendMessageA(w, c.step, 0, 0), 1);
    EXPECT_DOUBLE_EQ(value(w), c.expected) << c.start;
    EXPECT_EQ(imp->status, c.status) << c.start;
  }
}

TEST_F(SpinTest, SetValueIsHeldWithinOrderedLimitsOnly) {
  const struct {
    double minimum, maximum, given, expected;
  } cases[] = {{1, 10, 50, 10}, {1, 10, -5, 1}, {1, 10, 7, 7}, {10, 1, 50, 50}};
  for (const auto& c : cases) {
    HWND w;
    spin("%nd*0", &w);
    SendMessageA(w, KYM_SETMIN, 0, ptr(&c.minimum));
    SendMessageA(w, KYM_SETMAX, 0, ptr(&c.maximum));
    SendMessageA(w, KYM_SETDATA, 0, ptr(&c.given));
    EXPECT_DOUBLE_EQ(value(w), c.expected) << c.minimum << ".." << c.maximum << " " << c.given;
  }
}

TEST_F(SpinTest, IncrementIsANumberText) {
  HWND w;
  KyGUICSpinButtonCtrlImp* imp = spin("%nd*0.0", &w);
  EXPECT_EQ(SendMessageA(w, NKM_SETINCREMENT, 0, ptr("2.5")), 1);
  EXPECT_DOUBLE_EQ(imp->increment, 2.5);
  EXPECT_EQ(SendMessageA(w, NKM_SETINCREMENT, 0, ptr("fast")), 0);
  EXPECT_DOUBLE_EQ(imp->increment, 2.5);
  double start = 1;
  SendMessageA(w, KYM_SETDATA, 0, ptr(&start));
  SendMessageA(w, NKM_STEPUP, 0, 0);
  EXPECT_DOUBLE_EQ(value(w), 3.5);
  UDACCEL steps[5] = {};
  ASSERT_EQ(imp->arrow->SendMessage(UDM_GETACCEL, 5, reinterpret_cast<LPARAM>(steps)), 5);
  const UINT expected[5] = {2, 4, 20, 100, 200};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(steps[i].nSec, static_cast<UINT>(i));
    EXPECT_EQ(steps[i].nInc, expected[i]);
  }
}

TEST_F(SpinTest, DatesStepByDaysAndTimesBySeconds) {
  struct StoredDate {
    int16_t year;
    uint16_t month, day;
  };
  HWND date;
  spin("%ddyyyy-mm-dd", &date);
  StoredDate day{2017, 2, 28};
  SendMessageA(date, KYM_SETDATA, 0, ptr(&day));
  SendMessageA(date, NKM_STEPUP, 0, 0);
  EXPECT_EQ(text(date), "2017-03-01");
  HWND time;
  spin("%tthh:mm:ss", &time);
  uint16_t clock[3] = {23, 59, 59};
  SendMessageA(time, KYM_SETDATA, 0, ptr(clock));
  SendMessageA(time, NKM_STEPUP, 0, 0);
  EXPECT_EQ(text(time), "00:00:00");
  SendMessageA(time, NKM_STEPDOWN, 0, 0);
  EXPECT_EQ(text(time), "23:59:59");
}

TEST_F(SpinTest, ArrowStepsItsBuddy) {
  HWND w;
  KyGUICSpinButtonCtrlImp* imp = spin("%nd*0", &w);
  double start = 4;
  SendMessageA(w, KYM_SETDATA, 0, ptr(&start));
  RECT r;
  imp->arrow->GetClientRect(&r);
  input::click(imp->arrow->m_hWnd, r.right / 2, 2);  // the upper half
  input::pumpMessages();
  EXPECT_DOUBLE_EQ(value(w), 5);
  input::click(imp->arrow->m_hWnd, r.right / 2, r.bottom - 2);
  input::pumpMessages();
  EXPECT_DOUBLE_EQ(value(w), 4);
}

}  // namespace
