// KyGUICEditControlImp: a standard EDIT window that holds one typed value.
// The window text is the value in its display form (its editing form while
// a number has the focus); the private messages get and set typed values,
// keys go through the data-type engine's entry rules.
//
// Typed values travel in the control's own storage letter (numbers too:
// a value of storage 'l' is 4 bytes, never read as a double). Get data
// (1064) writes only when wParam, the caller's buffer size, holds the value.
#pragma once

#include <afxwin.h>

#include <string>

#include "controlimp.h"

class AFX_EXT_CLASS KyGUICEditControlImp : public KyNativeWindow<CEdit> {
 public:
  BOOL CreateControl(const KyNativeCreate& args) override;
  void ApplyBorderStyle(DWORD style) override;

  bool contextMenu = true;
  bool textChanged = false;
  std::string focusText;
  bool readOnly = false;
  bool dateShown = false;
  bool entry = false;

 protected:
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Creates the EDIT window (the spin adds its arrow around it).
  BOOL CreateEdit(const KyNativeCreate& args, int width);
  // Shows a text through the kind's WM_SETTEXT rules.
  LRESULT SetText(const char* text);
  // The text of a number in its display form (or the editing form while
  // the entry flag is set).
  std::string NumberText(double value) const;
  std::string Int64Text(int64_t value) const;
  bool IsNumeric() const;      // 'n' or 'c', not a numeric date
  bool IsNumericDate() const;  // 'n' or 'c' under "0000-00-00" or "00-00-0000"
  bool IsDate() const;         // 'd', 'a' or 't'
  // The number the text shows: FALSE when it does not read as one.
  bool ReadNumber(const std::string& text, double* value) const;
  bool ReadInt64(const std::string& text, int64_t* value) const;

 private:
  LRESULT getData(WPARAM size, LPARAM buffer);
  LRESULT setData(LPARAM value);
  LRESULT showText(const char* text);
  LRESULT reformatNumberText(WPARAM size, LPARAM buffer);
  void onSetFocus();
  void onKillFocus();
  LRESULT onChar(WPARAM character);
  LRESULT numberChar(char key, const std::string& text, int start, int end);
  LRESULT maskedChar(char key, const std::string& text, int start, int end);
  LRESULT onPaste();
  void placeText(const std::string& text, int caret);
  // One key through the engine's entry rules: false (after a beep) when refused.
  bool enterKey(const std::string& text, int caret, char key, std::string* result, int* newCaret);
  bool decimalKey_ = false;  // the next WM_CHAR comes from the keypad's decimal key
};
