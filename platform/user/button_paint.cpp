// Painting of the "Button" control: one painter per button type, chosen from
// a table; the label (text or image) and the focus rectangle are shared.
#include "button.h"

#include "control.h"

#include <string>

namespace win32::user::button {
namespace {

constexpr int kCheckSize = 13;  // check boxes and radio buttons, in pixels
constexpr int kCheckGap = 4;    // between the box and its label

struct Context {
  HWND hwnd;
  HDC dc;
  const ButtonState& st;
  DWORD style;
  RECT client;
  bool enabled;
};

std::string textOf(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(length + 1, '\0');
  text.resize(GetWindowTextA(hwnd, text.data(), length + 1));
  return text;
}

// DrawText flags for the label from BS_LEFT/RIGHT/CENTER, BS_TOP/BOTTOM/VCENTER
// and BS_MULTILINE; `defaultCentre` for push buttons.
UINT textFormat(DWORD style, bool defaultCentre) {
  UINT format = 0;
  switch (style & BS_CENTER) {
    case BS_LEFT: format |= DT_LEFT; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    case BS_CENTER: format |= DT_CENTER; break;
    default: format |= defaultCentre ? DT_CENTER : DT_LEFT; break;
  }
  if (style & BS_MULTILINE) format |= DT_WORDBREAK;
  else format |= DT_SINGLELINE;
  return format;
}

// The rectangle the label takes inside `area`, placed by the style's alignment.
RECT labelRect(HDC dc, const std::string& text, const RECT& area, UINT format, DWORD style, SIZE image) {
  RECT r = area;
  if (image.cx > 0) {
    r.right = r.left + image.cx;
    r.bottom = r.top + image.cy;
  } else {
    DrawTextA(dc, text.c_str(), (int)text.size(), &r, (format & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
  }
  int width = r.right - r.left, height = r.bottom - r.top;
  int freeX = (area.right - area.left) - width, freeY = (area.bottom - area.top) - height;
  int x = area.left, y = area.top;
  if (format & DT_CENTER) x += freeX / 2;
  else if (format & DT_RIGHT) x += freeX;
  switch (style & BS_VCENTER) {
    case BS_TOP: break;
    case BS_BOTTOM: y += freeY; break;
    default: y += freeY / 2; break;
  }
  return RECT{x, y, x + width, y + height};
}

SIZE imageSize(const ButtonState& st, DWORD style) {
  if (!(style & (BS_BITMAP | BS_ICON))) return SIZE{0, 0};
  return control::imageSize(st.image, st.imageType);
}

// Draws the label (image or text) in `area`; answers where it went.
RECT drawLabel(const Context& c, const RECT& area, bool defaultCentre) {
  UINT format = textFormat(c.style, defaultCentre);
  SIZE image = imageSize(c.st, c.style);
  std::string text = image.cx > 0 ? std::string() : textOf(c.hwnd);
  if (image.cx <= 0 && text.empty()) return RECT{};
  RECT r = labelRect(c.dc, text, area, format, c.style, image);
  if (image.cx > 0) {
    UINT type = c.st.imageType == IMAGE_ICON ? DST_ICON : DST_BITMAP;
    DrawStateA(c.dc, nullptr, nullptr, (LPARAM)c.st.image, 0, r.left, r.top, image.cx, image.cy,
               type | (c.enabled ? DSS_NORMAL : DSS_DISABLED));
    return r;
  }
  int oldMode = SetBkMode(c.dc, TRANSPARENT);
  RECT place = r;
  UINT drawFormat = (format & ~(DT_CENTER | DT_RIGHT)) | (format & (DT_CENTER | DT_RIGHT));
  if (!c.enabled) {
    // The classic embossed look: a highlight copy one pixel down-right, grey on top.
    COLORREF old = SetTextColor(c.dc, GetSysColor(COLOR_3DHIGHLIGHT));
    RECT shadow = place;
    OffsetRect(&shadow, 1, 1);
    DrawTextA(c.dc, text.c_str(), (int)text.size(), &shadow, drawFormat);
    SetTextColor(c.dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(c.dc, text.c_str(), (int)text.size(), &place, drawFormat);
    SetTextColor(c.dc, old);
  } else {
    DrawTextA(c.dc, text.c_str(), (int)text.size(), &place, drawFormat);
  }
  SetBkMode(c.dc, oldMode);
  return r;
}

void paintPush(const Context& c, bool pushed, bool checked) {
  control::colorBrush(c.hwnd, c.dc, WM_CTLCOLORBTN);
  SetTextColor(c.dc, GetSysColor(COLOR_BTNTEXT));
  RECT r = c.client;
  bool isDefault = typeOf(c.style) == BS_DEFPUSHBUTTON;
  if (isDefault) {
    FrameRect(c.dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  UINT state = DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0) | (checked && !pushed ? DFCS_CHECKED : 0) |
               ((c.style & BS_FLAT) ? DFCS_FLAT : 0);
  DrawFrameControl(c.dc, &r, DFC_BUTTON, state);
  RECT content = r;
  InflateRect(&content, -3, -3);
  if (pushed || checked) OffsetRect(&content, 1, 1);
  drawLabel(c, content, true);
  if (c.st.focused) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(c.dc, &focus);
  }
}

void paintPushButton(const Context& c) { paintPush(c, c.st.pushed, false); }

void paintCheck(const Context& c, UINT glyph) {
  if (c.style & BS_PUSHLIKE) {
    paintPush(c, c.st.pushed, c.st.check != BST_UNCHECKED);
    return;
  }
  HBRUSH brush = control::colorBrush(c.hwnd, c.dc, WM_CTLCOLORSTATIC);
  FillRect(c.dc, &c.client, brush);
  bool boxRight = (c.style & BS_LEFTTEXT) != 0;
  int height = c.client.bottom - c.client.top;
  int top = c.client.top;
  switch (c.style & BS_VCENTER) {
    case BS_TOP: break;
    case BS_BOTTOM: top = c.client.bottom - kCheckSize; break;
    default: top += (height - kCheckSize) / 2; break;
  }
  RECT box = boxRight ? RECT{c.client.right - kCheckSize, top, c.client.right, top + kCheckSize}
                      : RECT{c.client.left, top, c.client.left + kCheckSize, top + kCheckSize};
  UINT state = glyph | ((c.style & BS_FLAT) ? DFCS_FLAT : 0);
  if (c.st.check == BST_CHECKED) state |= DFCS_CHECKED;
  if (c.st.check == BST_INDETERMINATE) state |= DFCS_CHECKED | (glyph == DFCS_BUTTONCHECK ? DFCS_BUTTON3STATE : 0);
  if (c.st.pushed) state |= DFCS_PUSHED;
  if (!c.enabled) state |= DFCS_INACTIVE;
  DrawFrameControl(c.dc, &box, DFC_BUTTON, state);
  RECT area = c.client;
  if (boxRight) area.right -= kCheckSize + kCheckGap;
  else area.left += kCheckSize + kCheckGap;
  RECT label = drawLabel(c, area, false);
  if (c.st.focused && !IsRectEmpty(&label)) {
    InflateRect(&label, 1, 1);
    IntersectRect(&label, &label, &c.client);
    DrawFocusRect(c.dc, &label);
  }
}

void paintCheckBox(const Context& c) { paintCheck(c, DFCS_BUTTONCHECK); }
void paintRadio(const Context& c) { paintCheck(c, DFCS_BUTTONRADIO); }

// A group box paints its frame and its title only: the controls inside show through.
void paintGroupBox(const Context& c) {
  HBRUSH brush = control::colorBrush(c.hwnd, c.dc, WM_CTLCOLORSTATIC);
  int textHeight = control::lineHeight(c.dc);
  RECT frame = c.client;
  frame.top += textHeight / 2;
  DrawEdge(c.dc, &frame, EDGE_ETCHED, BF_RECT);
  std::string text = textOf(c.hwnd);
  if (text.empty()) return;
  RECT title{c.client.left + 8, c.client.top, c.client.right - 8, c.client.top + textHeight};
  RECT measured = title;
  DrawTextA(c.dc, text.c_str(), (int)text.size(), &measured, DT_SINGLELINE | DT_CALCRECT);
  title.right = std::min(title.right, measured.right);
  RECT gap = title;
  InflateRect(&gap, 2, 0);
  FillRect(c.dc, &gap, brush);
  int oldMode = SetBkMode(c.dc, TRANSPARENT);
  if (!c.enabled) SetTextColor(c.dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(c.dc, text.c_str(), (int)text.size(), &title, DT_SINGLELINE | DT_LEFT);
  SetBkMode(c.dc, oldMode);
}

void paintOwnerDraw(const Context& c, UINT action) {
  HBRUSH brush = control::colorBrush(c.hwnd, c.dc, WM_CTLCOLORBTN);
  if (action == ODA_DRAWENTIRE) FillRect(c.dc, &c.client, brush);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = (UINT)GetDlgCtrlID(c.hwnd);
  item.itemID = 0;
  item.itemAction = action;
  item.itemState = (c.st.pushed ? ODS_SELECTED : 0) | (c.st.focused ? ODS_FOCUS : 0) | (c.enabled ? 0 : ODS_DISABLED);
  item.hwndItem = c.hwnd;
  item.hDC = c.dc;
  item.rcItem = c.client;
  HWND parent = creationParent(c.hwnd);
  if (parent) SendMessageA(parent, WM_DRAWITEM, item.CtlID, (LPARAM)&item);
}

using Painter = void (*)(const Context&);

// Indexed by button type (BS_TYPEMASK); owner-drawn buttons are handled apart.
constexpr Painter kPainters[] = {
    paintPushButton,  // BS_PUSHBUTTON
    paintPushButton,  // BS_DEFPUSHBUTTON
    paintCheckBox,    // BS_CHECKBOX
    paintCheckBox,    // BS_AUTOCHECKBOX
    paintRadio,       // BS_RADIOBUTTON
    paintCheckBox,    // BS_3STATE
    paintCheckBox,    // BS_AUTO3STATE
    paintGroupBox,    // BS_GROUPBOX
    paintPushButton,  // BS_USERBUTTON
    paintRadio,       // BS_AUTORADIOBUTTON
    paintPushButton,  // BS_PUSHBOX
    nullptr,          // BS_OWNERDRAW
};

}  // namespace

void paint(HWND hwnd, HDC dc, const ButtonState& st, UINT action) {
  Context c{hwnd, dc, st, (DWORD)GetWindowLongA(hwnd, GWL_STYLE), {}, IsWindowEnabled(hwnd) != FALSE};
  GetClientRect(hwnd, &c.client);
  UINT type = typeOf(c.style);
  int saved = SaveDC(dc);
  control::FontScope font(dc, st.font);
  if (type == BS_OWNERDRAW) paintOwnerDraw(c, action);
  else kPainters[type](c);
  RestoreDC(dc, saved);
}

}  // namespace win32::user::button
