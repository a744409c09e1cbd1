// The implementation side of every native control: the data engine (type,
// storage letter, field kind, data picture) and KyGUIControlImp, which adds
// the colours, brush, mouse and notification windows and the common
// private messages that every kind answers before its own (HandleCommonMessage).
// Each kind's Imp derives from its framework control class and from this.
#pragma once

#include <afxwin.h>

#include <cstdint>
#include <string>

class KyNativeCtlDataEngine {
 public:
  char storage = 's';
  char type = 's';
  int32_t fieldKind = 0;  // kept for the core run-time (1091/1092), used for nothing here
  std::string picture;    // the data picture (format part only)
};

// The arguments of CreateWindowEx that a facade passes to its Imp, with the
// second instance handle of buttons and statics.
struct KyNativeCreate {
  DWORD exStyle;
  LPCSTR className;
  LPCSTR windowName;
  DWORD style;
  int x, y, width, height;
  HWND parent;
  HMENU id;
  HINSTANCE instance;
  HINSTANCE secondInstance;
  LPVOID param;
};

class AFX_EXT_CLASS KyGUIControlImp : public KyNativeCtlDataEngine {
 public:
  KyGUIControlImp();
  virtual ~KyGUIControlImp();
  KyGUIControlImp(const KyGUIControlImp&) = delete;
  KyGUIControlImp& operator=(const KyGUIControlImp&) = delete;

  virtual void TranslateStyle(DWORD& style, DWORD& exStyle) {}
  virtual LRESULT GetItemData(int index) { return 0; }
  // Reads a data picture: "%" type and storage letters, colours, format.
  virtual void SetDataPicture(const char* picture);
  virtual CWnd* GetWindowObject() = 0;
  virtual void ApplyBorderStyle(DWORD style) {}
  // The kind's window-creating routine: FALSE when no window was made.
  virtual BOOL CreateControl(const KyNativeCreate& args) = 0;
  // Ends the window while the whole Imp still lives (its WM_DESTROY
  // releases what the kind holds).
  void DestroyControlWindow() {
    if (GetWindowObject()->GetSafeHwnd()) GetWindowObject()->DestroyWindow();
  }

  // The common private messages: TRUE when answered (*result is then the
  // message's result), FALSE when the kind's own procedure goes on.
  BOOL HandleCommonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  HWND Window() { return GetWindowObject()->GetSafeHwnd(); }
  // The standard control's own answer to a message.
  LRESULT Standard(UINT message, WPARAM wParam, LPARAM lParam) {
    return GetWindowObject()->DefWindowProc(message, wParam, lParam);
  }
  void Repaint();
  void RebuildBrush();
  void SetMouseWnd(CWnd* window) { mouseWindow = window; }
  // WM_COMMAND(id | code << 16, window) to the parent.
  void Notify(int code);
  // The text colour a value is drawn in now (the negative one while the
  // value is negative and one is set); -1 when none is set.
  COLORREF CurrentTextColor() const;
  // Text case of items and captions (1266/1267): 0 unchanged, 1 lower, 2 upper.
  void ApplyTextCase(char* text) const;

  int displayLength = -1;
  COLORREF background;
  COLORREF focusBackground;
  COLORREF textColor;
  COLORREF negativeColor;
  HBRUSH brush = nullptr;
  CWnd* mouseWindow = nullptr;
  HWND notifyWindow = nullptr;
  bool focusColors = false;
  int textCase = 0;
  bool negative = false;
  int32_t storedValue = 0;
  LPARAM codeLink = 0;
  DWORD genericStyle = 0;
  int borderKind = 0;
  int alignmentKind = 0;

 protected:
  // Creation steps every kind shares: the generic style kept, the focus
  // colours chosen by the kind's focus bit, the picture read.
  void BeginCreate(DWORD style, DWORD focusBit, const char* windowName);

 private:
  void forwardToMouseWindow(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT controlColor(HDC dc);
};

// The framework side of an Imp: its window procedure is the kind's
// Procedure, and the colour message that the parent reflects back to the
// control reaches it as 0xBC19 like any other message.
template <class Base>
class KyNativeWindow : public Base, public KyGUIControlImp {
 public:
  CWnd* GetWindowObject() override { return this; }

 protected:
  virtual LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    return Procedure(message, wParam, lParam);
  }
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
      AFX_CTLCOLOR ctl{this->m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
      const LRESULT brush = Procedure(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl));
      if (pResult) *pResult = brush;
      return brush != 0;
    }
    return Base::OnChildNotify(message, wParam, lParam, pResult);
  }
};

// Routines every Imp shares.
inline bool HasAllBits(DWORD value, DWORD mask) { return (value | mask) == value; }
inline void SetBits(DWORD& word, DWORD mask, bool on) { word = on ? (word | mask) : (word & ~mask); }

// Style translation tables: each pair whose generic bits are all present
// clears them and sets its native bits, in the table's order.
struct StylePair {
  DWORD generic;
  DWORD native;
};
template <size_t N>
DWORD TranslatePairs(DWORD& style, const StylePair (&pairs)[N]) {
  DWORD native = 0;
  for (const StylePair& pair : pairs)
    if (HasAllBits(style, pair.generic)) {
      style &= ~pair.generic;
      native |= pair.native;
    }
  return native;
}

// A 3-D border (first pen left and top, second right and bottom); the
// rectangle's left and top move in by one pixel for the caller.
void DrawBorderLines(HDC dc, RECT* rect, HPEN first, HPEN second, BOOL doubleLine, BOOL fill);
// The base name of a path: no folder, no extension.
std::string BaseNameOf(const char* path);
