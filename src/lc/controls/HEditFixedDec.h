// HEditFixedDec: the edit of fixed-decimal values (kind 12), and
// HSpinEditFixedDec, the same with up and down steps (kind 19 when spins
// are not native). The value is shown through the mask's positive or
// negative picture and colour; it is exchanged with fixed-decimal fields
// as decimal text, and every step, limit and check works in decimal
// arithmetic, so a 28-digit value keeps every digit.
//
// The custom window is a plain text edit: the control itself lays the
// value into the picture, takes each typed key as an overtype of the shown
// text (KyTypeDecimalKey), checks whatever else changes the text (change
// notifications) and refuses a text that is no decimal number or lies
// outside the limits by showing the last good text again.
#pragma once

#include <memory>
#include <string>

#include "HEdit.h"
#include "KyDecimalMask.h"
#include "KyFixedDecImpl.h"
#include "KyMFCCtrl.h"

class HEditFixedDec : public HEdit {
 public:
  // Notification codes of the edit and the spin (WM_COMMAND high word).
  enum : int { NotifySetFocus = 0x100, NotifyKillFocus = 0x200, NotifyChange = 0x300, NotifyUp = 0x605,
               NotifyDown = 0x606 };
  enum : int { EventSetFocus = 4, EventKillFocus = 5, EventChange = 9, EventStepUp = 27, EventStepDown = 28 };

  HEditFixedDec(KyPanel* const pPanel, const KyCreateCtrl* pRecord, int fNative);
  // With a window type word ("Edit", "Spin"); fCreate 0 makes no window
  // (the grid cell variant).
  HEditFixedDec(KyPanel* const pPanel, const KyCreateCtrl* pRecord, const char* pszTypeWord, int fCreate);
  ~HEditFixedDec() override;

  void SetText(const char* pszText) override;
  void SetMinimum(const char* pszText) override;
  void SetMaximum(const char* pszText) override;
  void SetIncrement(const char* pszText) override;
  int GetTypedValue(const KyTypedValue& value) override;
  int SetTypedValue(const KyTypedValue& value) override;
  int GetTextValue(KyCharFld&) override { return 0; }
  int SetTextValue(const char*) override { return 0; }
  int MapNotification(int iCode) override;

  // A new mask (what a window text beginning with '%' or '#' is).
  void SetMask(const char* pszMask);
  const KyDecimalMask& GetMask() const { return m_Mask; }
  const std::string& GetLastText() const { return m_LastText; }
  // Whether the clean decimal text lies inside the limits (always when
  // both are 0).
  bool InLimits(const std::string& clean) const;
  // One character typed into the custom edit, overtyping the shown text;
  // a refused key beeps. False for keys the edit handles itself (control
  // characters, a native or protected edit).
  bool TypeKey(char key);

 protected:
  // Shows a decimal text (program notation) laid into its section's
  // picture with the section's colour, and keeps it as the last text.
  void ShowValue(const std::string& decimalText);
  // The window text in program notation.
  std::string readText();
  // The typing rules of a change notification; false when the text was
  // refused (the last good text is back).
  bool onChange();
  void onFocusChange();
  void step(bool fUp);
  // The limits as they stand (a second form of InLimits for steps).
  bool hasLimits() const;

  KyDecimalMask m_Mask;
  int m_fSign = 0;
  int m_iCaret = -1;
  std::string m_LastText;
  KyFixedDecImpl m_Increment{0};
  KyFixedDecImpl m_Maximum{0};
  KyFixedDecImpl m_Minimum{0};
  bool m_fShowing = false;  // a text the control sets itself is no typing

 private:
  void showInitial();
  void setWindowText(const std::string& text);
  std::unique_ptr<KyMFCCtrl> m_pKeys;  // the window's keys come here first
};

class HSpinEditFixedDec : public HEditFixedDec {
 public:
  HSpinEditFixedDec(KyPanel* const pPanel, const KyCreateCtrl* pRecord, int fNative);
  ~HSpinEditFixedDec() override;
  int MapNotification(int iCode) override;
};
