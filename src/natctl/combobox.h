// KyGUICBControlImp: a standard COMBOBOX that answers the list protocol of
// the custom combo box, and KyGUICBEdit, its edit part while it has the
// focus colours.
#pragma once

#include <afxwin.h>

#include <memory>

#include "controlimp.h"

class KyGUICBControlImp;

class AFX_EXT_CLASS KyGUICBEdit : public CEdit {
 public:
  explicit KyGUICBEdit(KyGUICBControlImp* combo) : combo_(combo) {}
  bool contextMenu = true;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  KyGUICBControlImp* combo_;
  COLORREF kept_ = 0;
};

class AFX_EXT_CLASS KyGUICBControlImp : public KyNativeWindow<CComboBox> {
 public:
  ~KyGUICBControlImp() override;
  BOOL CreateControl(const KyNativeCreate& args) override;
  LRESULT GetItemData(int index) override;

  int width = 0;
  bool buttonUp = false;
  std::unique_ptr<KyGUICBEdit> edit;
  bool contextMenu = true;

 protected:
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT getData(WPARAM size, LPARAM buffer);
  std::string itemText(int index);
  std::string selectedText();
};
