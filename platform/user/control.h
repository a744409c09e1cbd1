// What the standard controls ("Button", "Static", "Edit", "ScrollBar") share:
// their C++ state behind the window's extra bytes, notifications to the
// parent, the colour messages and the font they draw with.
#pragma once

#include <windows.h>

#include <internal/controlstate.h>

#include <memory>

namespace win32::user::control {

// Each control class reserves one pointer of window extra bytes, as the
// system's classes do, but keeps its state in the window's record
// (internal/controlstate.h), out of reach of SetWindowLong: created at
// WM_NCCREATE, freed at WM_NCDESTROY.
constexpr int kStateBytes = sizeof(void*);

template <class T>
T* state(HWND hwnd) {
  return controlStateAs<T>(hwnd);
}

template <class T>
T* attach(HWND hwnd) {
  auto made = std::make_unique<T>();
  setControlState(hwnd, &ControlKind<T>::tag, made.get());
  return made.release();
}

template <class T>
void detach(HWND hwnd) {
  std::unique_ptr<T> owned(state<T>(hwnd));
  if (owned) setControlState(hwnd, &ControlKind<T>::tag, nullptr);
}

// WM_COMMAND (control id, code) with the control's handle to its parent.
void notifyParent(HWND hwnd, WORD code);

// Sends `ctlColorMessage` (WM_CTLCOLORBTN ...) to the parent; a parent that
// answers no brush (or a control without parent) gets the default colours
// of DefWindowProcA. Answers the brush to paint the background with.
HBRUSH colorBrush(HWND hwnd, HDC dc, UINT ctlColorMessage);

// The font a control draws with: the one WM_SETFONT gave, else the system font.
HFONT fontOrSystem(HFONT font);

// Selects a font for the lifetime of the object.
class FontScope {
 public:
  FontScope(HDC dc, HFONT font) : dc_(dc), old_(SelectObject(dc, fontOrSystem(font))) {}
  ~FontScope() {
    if (old_) SelectObject(dc_, old_);
  }
  FontScope(const FontScope&) = delete;
  FontScope& operator=(const FontScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint / EndPaint, or the DC of WM_PAINT's wParam when one is given
// (WM_PRINTCLIENT and parents painting a control into their own DC).
class PaintScope {
 public:
  PaintScope(HWND hwnd, WPARAM givenDC);
  ~PaintScope();
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
  bool began_ = false;
};

// The natural size of an icon, cursor or bitmap handle; {0,0} when it is none.
SIZE imageSize(HANDLE image, UINT type);

// The height of a line of text in the font (tmHeight).
int lineHeight(HDC dc);

}  // namespace win32::user::control
