// KyCtrl: the base of every control on a panel. One object stands for one
// control record of the panel's control table: its constructor chooses,
// by kind and by the [NativeControls] settings, a native facade of the
// native control library or a custom window of the control library, makes
// it, and keeps the record's data. The virtual operations are what panels,
// states, events and generated code do to a control; the field exchange
// (DDX, KyCtrlExchange.cpp) moves values through the eight value operations
// that the concrete classes implement.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "KyCharFld.h"
#include "KyRecords.h"
#include "KyStateWin.h"
#include "KyTypedValue.h"

class KyPanel;
class KyGUIControl;
class KyRTType;
#include "KyFieldsFwd.h"
class KyBlobFld;
class KyVariantFld;
class CWnd;

// Control kinds of the control table that this class knows by number.
enum KyCtrlKind {
  KindPushButton = 1,
  KindStatic = 2,
  KindEdit = 3,
  KindCheckBox = 8,
  KindRadioButton = 9,
  KindComboBox = 10,
  KindListBox = 11,
  KindFixedDecEdit = 12,
  KindFixedDecCellEdit = 13,
  KindSpin = 14,
  KindMultiLineEdit = 15,
  KindSpinField = 19,
};

class KyCtrl : public KyStateWin {
 public:
  static constexpr int kMaxValuePairs = 512;

  // pszKindName: "Butt", "Comb", "List", "Edit", "Spin", "MultiEdit" or
  // "Stat". With fCreate 0 no window is made.
  KyCtrl(KyPanel* pPanel, const char* pszKindName, const KyCreateCtrl& record, int fCreate);
  ~KyCtrl() override;

  // --- state setters ---
  KyPanel* GetPanel() override { return m_pPanel; }
  void Repaint() override;
  void SetVisible(int fVisible) override;
  void SetEnabled(int fEnabled) override;
  void SetProtected(int fProtected) override;
  void SetText(const char* pszText) override;
  void SetTextColor(COLORREF color) override;
  void SetBackColor(COLORREF color) override;
  void SetFont(HFONT hFont) override;
  void SetSize(int cx, int cy) override;
  void SetPosition(int x, int y) override;
  void SetFirstPicture(const char* pszName) override { SetPicture(pszName, 1); }
  void SetSecondPicture(const char* pszName) override { SetPicture(pszName, 2); }

  // --- operations of the control classes ---
  virtual void SetPicture(const char* pszName, int iSelector) {}
  // The typed value operations: the concrete classes talk to their window;
  // the base answers 0 (not supported). A get answers 0 for no value and a
  // negative number when the control cannot be read (the field is kept).
  virtual int GetTypedValue(const KyTypedValue& value) { return 0; }
  virtual int SetTypedValue(const KyTypedValue& value) { return 0; }
  virtual int AddTypedEntry(const KyTypedValue& value) { return 0; }
  virtual int RemoveTypedEntry(const KyTypedValue& value) { return 0; }
  virtual int GetTextValue(KyCharFld& text) { return 0; }
  virtual int SetTextValue(const char* pszText) { return 0; }
  virtual int AddTextEntry(KyCharFld& text) { return 0; }
  virtual int RemoveTextEntry(KyCharFld& text) { return 0; }
  virtual HWND GetWindowHandle() { return m_hWnd; }
  virtual void BindToGrid(KyCtrl* pGrid) {}
  // Moves the control by the panel's size change when it is anchored
  // (extended flags 4 and 8); answers the batch.
  virtual HDWP ResizeWithPanel(HDWP hBatch, UINT uFlags);
  virtual HDWP DeferMove(HDWP hBatch, const RECT& rect, UINT uFlags);
  virtual BOOL SetFocus();
  virtual BOOL HasFocus();
  // Notification code to event code; 0: no event.
  virtual int MapNotification(int iCode) { return 0; }
  // Adds a pair (display text, value text normalised by the field's type);
  // the 513th pair is dropped.
  virtual void AddValuePair(KyRTType& field, const char* pszDisplay, const char* pszValue);
  virtual int fOperation(int iAccMode);
  virtual void SaveSettings(const char* pszSection, const char* pszKey) {}
  virtual void RestoreSettings(const char* pszSection, const char* pszKey) {}
  virtual int CanStartDragAt(int x, int y) { return 1; }
  virtual void GetDragData();
  virtual void SetDropData();
  virtual int HasInnerFocusControl() { return 0; }
  virtual KyCtrl* GetInnerFocusControl() { return nullptr; }
  virtual void ClearEntries() {}
  virtual int QueryOperation() { return 1; }
  virtual CWnd* GetActiveXControl() { return nullptr; }
  virtual void ApplyColumnPicture() {}
  // The help context F1 opens while the control has the focus (0: that of
  // its first event entry).
  DWORD GetHelpContextId() const { return m_dwHelpContextId; }
  void SetHelpContextId(DWORD dwContext) { m_dwHelpContextId = dwContext; }
  // The input-method mode the control's window gets with the focus on
  // Japanese systems (KyIME::Mode; -1 and 0 leave it alone). Check boxes and
  // radio buttons close the input method.
  int GetIMEMode() const { return m_iIMEMode != kIMEModeUnset ? m_iIMEMode : (m_iKind == 8 || m_iKind == 9 ? 2 : -1); }
  void SetIMEMode(int iMode) { m_iIMEMode = iMode; }

  // --- field exchange, one overload per field class (KyCtrlExchange.cpp) ---
  int DDX(int iAccMode, KyByteFld& field);
  int DDX(int iAccMode, KyIntFld& field);
  int DDX(int iAccMode, KyLongFld& field);
  int DDX(int iAccMode, KyLLongFld& field);
  int DDX(int iAccMode, KySglFld& field);
  int DDX(int iAccMode, KyDblFld& field);
  int DDX(int iAccMode, KyLdblFld& field);
  int DDX(int iAccMode, KyDateFld& field);
  int DDX(int iAccMode, KyTimeFld& field);
  int DDX(int iAccMode, KyTimeStampFld& field);
  int DDX(int iAccMode, KyFixedDecFld& field);
  int DDX(int iAccMode, KyCharFld& field);
  // Through the text exchange: a BLOB field shows its file name and takes
  // a new one; a variant shows its text and takes the text back in the
  // type it had (a text that cannot be that type is refused: 0, the field
  // unchanged).
  int DDX(int iAccMode, KyBlobFld& field);
  int DDX(int iAccMode, KyVariantFld& field);

  // Stores a copy of the event name under the window message number.
  void TrapEvent(UINT uMessage, const char* pszEventName);
  const char* GetTrappedEvent(UINT uMessage) const;

  // The control text: KYM_GETTEXTLEN of a custom control, WM_GETTEXTLENGTH
  // of a native one; WM_GETTEXT only for a text that is not empty.
  KyString ReadControlText();
  // Whether the control can take the focus: visible, enabled, not protected.
  bool CanTakeFocus() const;

  int GetId() const { return m_iId; }
  int GetKind() const { return m_iKind; }
  const char* GetName() const { return m_Name.strGetText(); }
  const char* GetSecondText() const { return m_SecondText.strGetText(); }
  const KyString& GetKindName() const { return m_KindName; }
  const KyString& GetCreationText() const { return m_CreationText; }
  DWORD GetStyle() const { return m_dwStyle; }
  DWORD GetExFlags() const { return m_dwExFlags; }
  KyGUIControl* GetNativeFacade() const { return m_pNative.get(); }
  bool IsNative() const { return m_pNative != nullptr; }
  int GetWord(int iOffset) const;
  int GetValuePairCount() const { return static_cast<int>(m_ValuePairs.size()); }
  const KyCharFld& GetPairDisplay(int i) const { return m_ValuePairs[i].display; }
  const KyCharFld& GetPairValue(int i) const { return m_ValuePairs[i].value; }

 protected:
  // Makes the control's window (native or custom) with that creation
  // text; for classes constructed with fCreate 0 that show another text.
  void MakeWindow(const char* pszText);
  // Value pairs during an exchange (KyCtrlExchange.cpp).
  struct ValuePair {
    KyCharFld display;
    KyCharFld value;
  };
  // The display text of the field's value; false when no pair holds it.
  bool displayTextOf(KyRTType& field, KyString& display);
  // Puts the value of the display text into the field (read side); a combo
  // box without a current entry stores the typed text itself when
  // fTypedText is set.
  void valueOfDisplay(KyRTType& field, const char* pszDisplay, bool fTypedText);
  // Reads the control's text and puts the value of its pair into the
  // field; false when the control gave no text (the field is to be emptied).
  bool readThroughPairs(KyRTType& field, bool fTypedText);
  // Shows or adds the display text of the field's value (modes 2 and 4).
  int showThroughPairs(int iAccMode, KyRTType& field);
  template <class Traits, class Field>
  int exchangeTyped(int iAccMode, Field& field);
  int exchangeDecimal(int iAccMode, KyFixedDecFld& field);
  int exchangeText(int iAccMode, KyCharFld& field);

  KyPanel* m_pPanel;
  HWND m_hWnd = nullptr;
  std::unique_ptr<KyGUIControl> m_pNative;
  int m_iId = 0;
  int m_iKind = 0;
  DWORD m_dwStyle = 0;
  DWORD m_dwExFlags = 0;
  DWORD m_dwExStyle = 0;
  int m_iBorderStyle = 0;
  int m_iDropRows = 0;
  DWORD m_dwHelpContextId = 0;
  static constexpr int kIMEModeUnset = -2;
  int m_iIMEMode = kIMEModeUnset;
  int m_iWord26 = 0, m_iWord28 = 0, m_iWord30 = 0, m_iWord32 = 0, m_iWord38 = 0;
  int m_iScaledX = 0, m_iScaledY = 0, m_iScaledCx = 0, m_iScaledCy = 0;
  KyString m_KindName;
  KyString m_CreationText;
  KyCharFld m_Name;
  KyCharFld m_SecondText;
  std::vector<ValuePair> m_ValuePairs;
  KyRTType* m_pPairField = nullptr;  // the field the exchange in progress works on
  std::map<UINT, std::string> m_TrappedEvents;

  // The colour named by "UnusedColor" of the INI section goes to the window
  // unless it is "GREEN" (the windows' own).
  void applyUnusedColor(const char* pszSection);

 private:
  void createWindow(const char* pszClass, const char* pszText, HINSTANCE hInstance);
  bool tryNative(const char* pszText, HINSTANCE hInstance);
};
