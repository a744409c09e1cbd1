// The two VBX-style classes of the emulation library.
//   Gauge: a bar filled Value / Max of its width in BackColor's complement,
//     its Caption centred, its Picture at the left; a list of items (the
//     array property List) takes AddItem, RemoveItem and Clear. Events:
//     Click, Change (Value changed), DblClick.
//   Switch: a box that a click turns on and off (On), with its Caption and
//     Picture. Events: Click, Change.
#include "vbxclasses.h"

#include "vbxcontrol.h"

#include <algorithm>

namespace vbx {
namespace {

void drawPicture(Control& control, HDC dc, const RECT& client) {
  Picture* picture = control.picture("Picture");
  if (!picture || !picture->bitmap) return;
  BITMAP info{};
  GetObjectA(picture->bitmap, sizeof info, &info);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture->bitmap);
  BitBlt(dc, client.left, client.top, std::min<LONG>(info.bmWidth, client.right), info.bmHeight, memory, 0, 0,
         SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void drawCaption(Control& control, HDC dc, RECT client) {
  const std::string caption = control.text("Caption");
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, caption.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void fill(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void paintGauge(Control& control, HDC dc, const RECT& client) {
  const COLORREF back = static_cast<COLORREF>(control.number("BackColor")) & 0xFFFFFF;
  fill(dc, client, back);
  const LONG_PTR max = control.number("Max"), value = std::clamp<LONG_PTR>(control.number("Value"), 0, max);
  if (max > 0) {
    RECT bar = client;
    bar.right = client.left + static_cast<LONG>((client.right - client.left) * value / max);
    fill(dc, bar, back ^ 0xFFFFFF);
  }
  drawPicture(control, dc, client);
  drawCaption(control, dc, client);
}

void paintSwitch(Control& control, HDC dc, const RECT& client) {
  fill(dc, client, control.number("On") ? RGB(0, 160, 0) : RGB(160, 160, 160));
  drawPicture(control, dc, client);
  drawCaption(control, dc, client);
}

void clickGauge(Control& control) { control.fire("Click"); }

void clickSwitch(Control& control) {
  control.fire("Click");
  control.set(control.propertyIndex("On"), -1, control.number("On") ? 0 : 1);
}

constexpr PropertyDef kGaugeProperties[] = {
    {"Caption", VBX_PT_STRING, false}, {"Value", VBX_PT_LONG, false},     {"Max", VBX_PT_LONG, false},
    {"Ratio", VBX_PT_FLOAT, false},    {"Picture", VBX_PT_PICTURE, false}, {"List", VBX_PT_HSZ, true},
    {"BackColor", VBX_PT_COLOR, false}};
constexpr const char* kGaugeEvents[] = {"Click", "Change", "DblClick"};

constexpr PropertyDef kSwitchProperties[] = {
    {"Caption", VBX_PT_STRING, false}, {"On", VBX_PT_BOOL, false}, {"Picture", VBX_PT_PICTURE, false}};
constexpr const char* kSwitchEvents[] = {"Click", "Change"};

constexpr ClassDef kClasses[] = {
    {"Gauge", kGaugeProperties, kGaugeEvents, paintGauge, clickGauge},
    {"Switch", kSwitchProperties, kSwitchEvents, paintSwitch, clickSwitch},
};

}  // namespace

const ClassDef* findClass(const char* name) {
  for (const ClassDef& cls : kClasses)
    if (name && lstrcmpiA(cls.name, name) == 0) return &cls;
  return nullptr;
}

}  // namespace vbx
