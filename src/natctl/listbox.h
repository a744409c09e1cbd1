// KyGUILBControlImp: a standard LISTBOX that answers the list protocol of
// the custom list (the private numbers of the list and the HL exports):
// typed items shown through the data picture, selection in single and
// multiple mode, and the change notification at focus loss.
#pragma once

#include <afxwin.h>

#include "controlimp.h"

class AFX_EXT_CLASS KyGUILBControlImp : public KyNativeWindow<CListBox> {
 public:
  BOOL CreateControl(const KyNativeCreate& args) override;
  LRESULT GetItemData(int index) override;

  int width = 0;
  int height = 0;
  bool singleSelection = true;
  int32_t column = 0;

 protected:
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT select(int index, int mode);
  int currentIndex();
  std::string itemText(int index);
  std::string selectedText();
  LRESULT addCased(UINT message, WPARAM wParam, LPARAM lParam);
};
