// The button's layout and painting: the face (3-D frame or flat), the
// caption and picture boxes placed by their alignment digits, the state's
// picture (system check and radio marks for those types), the caption and
// the focus rectangle.
#include <algorithm>
#include <cstring>

#include "button.h"
#include "drawing.h"
#include "library.h"
#include "markup.h"

namespace {

// Position bits of an alignment digit.
enum { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };
constexpr int kDigitBits[9] = {kLeft | kTop, kTop, kRight | kTop, kLeft, 0, kRight, kLeft | kBottom, kBottom,
                               kRight | kBottom};
constexpr int kGap = 5;  // between a picture and its caption

int bitsOf(int digit) { return digit >= 0 && digit < 9 ? kDigitBits[digit] : 0; }

// The start of `size` on an axis from `low` to `high`: at an edge, or centred.
int place(int size, int low, int high, bool atLow, bool atHigh) {
  int start = atLow ? low : atHigh ? high - size : low + (high - low - size) / 2;
  start = std::min(start, high - size);
  return std::max(start, low);
}

struct Axis {
  int low, high;      // the face
  bool atLow, atHigh; // the caption's alignment on this axis
};

// Places the caption (size c) and the picture (size p) on one axis. With a
// relation on this axis (the picture before or after the caption) the two
// are one block; otherwise each stands by itself.
void placePair(const Axis& axis, int c, int p, bool pictureBefore, bool pictureAfter, int* captionAt,
               int* pictureAt) {
  if (!(pictureBefore || pictureAfter) || c == 0 || p == 0) {
    *captionAt = place(c, axis.low, axis.high, axis.atLow, axis.atHigh);
    *pictureAt = place(p, axis.low, axis.high, axis.atLow, axis.atHigh);
    return;
  }
  const int block = place(c + kGap + p, axis.low, axis.high, axis.atLow, axis.atHigh);
  *pictureAt = pictureBefore ? block : block + c + kGap;
  *captionAt = pictureBefore ? block + p + kGap : block;
}

int stateStep(const HButtRecord* r) { return (r->head.style & HBS_TWOPICTURES) ? 2 : 1; }
bool pushed(const HButtRecord* r) { return (r->head.flags & HBF_PUSHED) != 0; }
bool disabled(const HButtRecord* r) { return !IsWindowEnabled(r->head.window); }

// The picture the state shows, or none.
const HCtlPicture* statePicture(const HButtRecord* r, int* index) {
  if (r->head.flags & HCTL_NOVALUE) {
    *index = -1;
    return HButtNoValuePicture(pushed(r));
  }
  if (r->pictureCount == 0) return nullptr;
  int i = r->checkState;
  if ((r->head.style & HBS_TWOPICTURES) && pushed(r)) i = r->checkState + 1;
  *index = i % r->pictureCount;
  const HCtlPicture* slot = &r->pictures[*index];
  return slot->handle != nullptr ? slot : nullptr;
}

HCtlPicture gShared[2];
bool gSharedHeld = false;

void drawPicture(HButtRecord* r, HDC dc, const HCtlPicture* picture, int index, RECT box) {
  const int type = HButtType(r);
  const UINT inactive = disabled(r) ? DFCS_INACTIVE : 0;
  if (index >= 0 && HButtIsRadio(type)) {
    UINT state = DFCS_BUTTONRADIO | inactive;
    if (index == 1) state |= DFCS_PUSHED;
    if (index == 2) state |= DFCS_CHECKED;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
  } else if (index >= 0 && (type & 2)) {
    UINT state = DFCS_BUTTONCHECK | inactive;
    if (index == 1 || index == 3) state |= DFCS_PUSHED;
    if (index == 2) state |= DFCS_CHECKED;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
  } else {
    HCtlDrawPicture(dc, picture, box.left, box.top, r->keyColor);
  }
}

void drawCaption(HButtRecord* r, HDC dc, RECT box) {
  const DWORD style = r->head.style;
  const int margin = (style & HBS_SHADOW) ? 3 : 2;
  InflateRect(&box, -margin, -margin);
  UINT format = std::strchr(r->caption, '\n') != nullptr ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
  format |= (style & HBS_RIGHTTEXT) ? DT_RIGHT : (style & HBS_LEFTTEXT) ? DT_LEFT : DT_CENTER;
  SetBkMode(dc, TRANSPARENT);
  auto drawAt = [&](int dx, COLORREF color) {
    RECT at = box;
    OffsetRect(&at, dx, dx);
    SetTextColor(dc, color);
    DrawTextA(dc, r->caption, -1, &at, format);
  };
  if (disabled(r)) {
    drawAt(1, GetSysColor(COLOR_BTNHIGHLIGHT));
    drawAt(0, GetSysColor(COLOR_GRAYTEXT));
    return;
  }
  if (style & HBS_SHADOW) drawAt(1, RGB(255, 255, 255));
  drawAt(0, HCtlResolveColor(r->textColor, COLOR_BTNTEXT));
}

bool sunken(const HButtRecord* r) {
  return pushed(r) || (HButtType(r) >= HBT_CHECK && r->checkState / stateStep(r) != 0);
}
int borderWidth(const HButtRecord* r) { return (r->head.style & HBS_NOFOCUS) ? 1 : 2; }

void drawFace(HButtRecord* r, HDC dc, RECT face) {
  if (r->head.style & HBS_FLAT) {
    HBRUSH own = r->backColor != kHCtlNoColor ? CreateSolidBrush(HCtlResolveColor(r->backColor, COLOR_BTNFACE)) : nullptr;
    HBRUSH brush = own != nullptr ? own : HCtlGetColorBrush(&r->head, HCTL_BRUSH_BUTTON, dc);
    FillRect(dc, &face, brush);
    FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (own != nullptr) DeleteObject(own);
    return;
  }
  int flags = 0;
  if (sunken(r)) flags |= HCTL_FACE_PUSHED;
  if (HButtType(r) == HBT_DEFPUSH) flags |= HCTL_FACE_DEFAULT;
  HCtlDrawButtonFace(r->head.window, dc, &face, borderWidth(r), flags, nullptr, r->head.font, nullptr, 0);
}

bool ownerDrawn(HButtRecord* r, HDC dc, const RECT& client) {
  if (!(r->head.style & HBS_OWNERDRAW) || r->head.notifyTarget == nullptr) return false;
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = r->head.id;
  item.itemAction = ODA_SELECT | ODA_FOCUS;
  if (pushed(r)) item.itemState |= ODS_SELECTED;
  if (r->head.flags & HBF_FOCUS) item.itemState |= ODS_FOCUS;
  item.hwndItem = r->head.window;
  item.hDC = dc;
  item.rcItem = client;
  return SendMessageA(r->head.notifyTarget, WM_DRAWITEM, r->head.id, reinterpret_cast<LPARAM>(&item)) != 0;
}

}  // namespace

const char* HButtDefaultPicture(int type, int index) {
  static const char* const kCheck[] = {"HC1", "HC2", "HC3", "HC4"};
  static const char* const kRadio[] = {"HR1", "HR2", "HR3", "HR2"};
  static const char* const kThreeState[] = {"HC1", "HC2", "HC3", "HC4", "HC5", "HC6"};
  switch (type) {
    case HBT_CHECK: return index >= 0 && index < 4 ? kCheck[index] : nullptr;
    case HBT_RADIO: return index >= 0 && index < 4 ? kRadio[index] : nullptr;
    case HBT_3STATE: return index >= 0 && index < 6 ? kThreeState[index] : nullptr;
    default: return nullptr;
  }
}

void HButtHoldSharedPictures(bool hold) {
  if (hold == gSharedHeld) return;
  gSharedHeld = hold;
  for (HCtlPicture& picture : gShared) {
    if (hold) HCtlLoadPicture(&picture, HCtlLibraryModule(), "HC5", FALSE);
    else HCtlFreePicture(&picture);
  }
}

const HCtlPicture* HButtNoValuePicture(bool isPushed) {
  const HCtlPicture* picture = &gShared[isPushed ? 1 : 0];
  return picture->handle != nullptr ? picture : nullptr;
}

RECT HButtContentRect(HButtRecord* r) {
  RECT content;
  GetClientRect(r->head.window, &content);
  InflateRect(&content, -1, -1);  // the outline
  if (r->head.style & HBS_FLAT) return content;
  // As the button face draws: the default mark, the bevel rings, the sunken shift.
  const int inset = (HButtType(r) == HBT_DEFPUSH ? 1 : 0) + borderWidth(r);
  InflateRect(&content, -inset, -inset);
  if (sunken(r)) OffsetRect(&content, 1 + borderWidth(r), 1 + borderWidth(r));
  return content;
}

void HButtLayout(HButtRecord* r, HDC dc, RECT* captionBox, RECT* pictureBox) {
  const RECT face = HButtContentRect(r);
  SIZE caption{0, 0};
  if (r->caption != nullptr && *r->caption != '\0') {
    HGDIOBJ old = SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(ANSI_VAR_FONT));
    const DWORD extent = HCtlTextExtent(dc, r->caption);
    SelectObject(dc, old);
    const int margin = (r->head.style & HBS_SHADOW) ? 3 : 2;
    caption = {static_cast<LONG>(LOWORD(extent)) + 2 * margin, static_cast<LONG>(HIWORD(extent)) + 2 * margin};
  }
  SIZE picture{0, 0};
  int index = 0;
  if (const HCtlPicture* shown = statePicture(r, &index)) {
    int w = 0, h = 0;
    HCtlPictureSize(shown, &w, &h);
    picture = {w, h};
  }
  const int text = bitsOf(r->textAlign);
  const int relation = r->pictureAlign == r->textAlign ? bitsOf(r->relativeAlign) : 0;
  int cx, cy, px, py;
  if (relation != 0) {
    placePair({face.left, face.right, (text & kLeft) != 0, (text & kRight) != 0}, caption.cx, picture.cx,
              (relation & kLeft) != 0, (relation & kRight) != 0, &cx, &px);
    placePair({face.top, face.bottom, (text & kTop) != 0, (text & kBottom) != 0}, caption.cy, picture.cy,
              (relation & kTop) != 0, (relation & kBottom) != 0, &cy, &py);
  } else {
    const int pic = bitsOf(r->pictureAlign);
    cx = place(caption.cx, face.left, face.right, text & kLeft, text & kRight);
    cy = place(caption.cy, face.top, face.bottom, text & kTop, text & kBottom);
    px = place(picture.cx, face.left, face.right, pic & kLeft, pic & kRight);
    py = place(picture.cy, face.top, face.bottom, pic & kTop, pic & kBottom);
  }
  // Clamped to the face: a caption wider than the button is cut at its edges.
  *captionBox = {cx, cy, std::min<LONG>(cx + caption.cx, face.right), std::min<LONG>(cy + caption.cy, face.bottom)};
  *pictureBox = {px, py, px + picture.cx, py + picture.cy};
}

void HButtPaint(HButtRecord* r, HDC dc) {
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(r->head.window, &client);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  if (!ownerDrawn(r, dc, client)) {
    drawFace(r, dc, client);
    SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(ANSI_VAR_FONT));
    RECT captionBox, pictureBox;
    HButtLayout(r, dc, &captionBox, &pictureBox);
    int index = 0;
    if (const HCtlPicture* picture = statePicture(r, &index)) drawPicture(r, dc, picture, index, pictureBox);
    const bool hasCaption = r->caption != nullptr && *r->caption != '\0';
    if (hasCaption) drawCaption(r, dc, captionBox);
    if ((r->head.flags & HBF_FOCUS) && !(r->head.style & HBS_NOFOCUS)) {
      const RECT& focus = hasCaption ? captionBox : pictureBox;
      if (!IsRectEmpty(&focus)) DrawFocusRect(dc, &focus);
    }
  }
  RestoreDC(dc, saved);
}
