// KyKeyHook: the keyboard and message hooks of the user-interface thread.
// Every key pressed is offered to the active panel first (KyPanel::OnKeyBoard),
// then to the panels it lives in, before any window sees it; a key a panel
// takes goes no further. One object per process (the runner's).
//
// KyIME: the input-method switch of Japanese systems (country 81). This
// system has no input method library, so the object finds none and every
// mode switch answers "no IME".
#pragma once

#include <windows.h>

class KyPanel;

class KyKeyHook {
 public:
  KyKeyHook() = default;
  ~KyKeyHook() { Remove(); }
  KyKeyHook(const KyKeyHook&) = delete;
  KyKeyHook& operator=(const KyKeyHook&) = delete;

  // A keyboard hook and a message hook on the calling thread; FALSE when
  // either could not be set (then neither is).
  BOOL Install();
  void Remove();
  BOOL IsInstalled() const { return m_hKeyboard != nullptr; }

  // The application's key handler: offers a pressed key (a virtual key) to
  // the panels; nonzero when one took it.
  static int HandleKey(UINT uKey);

 private:
  static LRESULT CALLBACK keyboardProc(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK messageProc(int code, WPARAM wParam, LPARAM lParam);
  // The hook's decision for a key message: nonzero swallows it.
  static LRESULT decide(UINT uKey, LPARAM lParam);

  HHOOK m_hKeyboard = nullptr;
  HHOOK m_hMessage = nullptr;
};

class KyIME {
 public:
  // IME modes of a control.
  enum Mode {
    LeaveAlone = 0,
    Close = 2,
    Remove = 3,
    FullAlphanumeric = 4,
    FullKatakana = 5,
    Hiragana = 6,
    HalfAlphanumeric = 7,
    HalfKatakana = 8,
  };

  // Looks for the system's input method library.
  KyIME();
  ~KyIME();
  KyIME(const KyIME&) = delete;
  KyIME& operator=(const KyIME&) = delete;

  // Whether an input method library was found (process-wide).
  static BOOL IsWINNLSLoaded();
  // The conversion mode a control's mode asks for, from the current one:
  // only the roman bit is kept; -1 for modes that set none.
  static int ConversionFor(int iMode, DWORD dwCurrent);
  // Switches the IME of the control's window (and of its inner edit) to the
  // mode; FALSE when there is no IME or the mode leaves it alone.
  BOOL SetMode(HWND hWnd, HWND hInner, int iMode);

 private:
  HMODULE m_hLibrary = nullptr;
};
