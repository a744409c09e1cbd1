// HComb: the combo box (kind 10), and through its second constructor the
// base of the list box. Entries are values of the window's type; value
// pairs map codes to display texts, at most 512 of them.
#pragma once

#include <memory>

#include "KyCtrl.h"
#include "KyMFCCtrl.h"

class HComb : public KyCtrl {
 public:
  HComb(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate);
  ~HComb() override;

  int GetTypedValue(const KyTypedValue& value) override;
  int SetTypedValue(const KyTypedValue& value) override;
  int AddTypedEntry(const KyTypedValue& value) override;
  int RemoveTypedEntry(const KyTypedValue& value) override;
  int GetTextValue(KyCharFld& text) override;
  int SetTextValue(const char* pszText) override;
  int AddTextEntry(KyCharFld& text) override;
  int RemoveTextEntry(KyCharFld& text) override;
  void SetAuxData(const KyAuxCtrlInfo& aux) override;
  int MapNotification(int iCode) override;
  void AddValuePair(KyRTType& field, const char* pszDisplay, const char* pszValue) override;
  void ClearEntries() override;

  int GetCurrentEntry();
  void SetCurrentEntry(int iIndex);
  int GetEntryCount() const { return m_iEntries; }

 protected:
  // Only the control base with the kind name: the list box's way in.
  HComb(KyPanel* pPanel, const KyCreateCtrl& record, const char* pszKindName, int fCreate);
  // The value of entry iIndex (-1: the current one) into the typed buffer;
  // 0 when there is none.
  int readEntry(int iIndex, const KyTypedValue& value);
  // The text of entry iIndex (-1: the current one) into the field.
  int readEntryText(int iIndex, KyCharFld& text);
  // The entry message's wParam for entry iIndex with a buffer of that size.
  WPARAM entryWParam(int iIndex, size_t size) const;
  // Adds the entry (a value in the window's storage).
  int addEntry(const void* pValue);
  int removeEntry(const void* pValue);
  void clearWindow();

  int m_iEntries = 0;  // entries added since the last clear

 private:
  std::unique_ptr<ComboCtrl> m_pWrapper;
};

// Run option 66 "Combo Field Complete Clear": a clear also empties the
// value pairs. Read at each combo box's construction and at each clear.
bool KyComboCompleteClear();
