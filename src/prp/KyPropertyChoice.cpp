// PropertyChoice (template 129): a sorted list of the table's names, each
// item carrying its value; the selection's value is kept as it changes and
// returned by OK.
#include "KyPropertyChoice.h"

#include "KyPropApp.h"

namespace {

struct Choice {
  const KyPropTable* table;
  int value = 0;
};

void keepSelection(HWND dialog, Choice& choice) {
  HWND list = GetDlgItem(dialog, IDC_PROPERTYCHOICE_LIST);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index != LB_ERR) choice.value = static_cast<int>(SendMessageA(list, LB_GETITEMDATA, index, 0));
}

INT_PTR CALLBACK choiceProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Choice* choice = reinterpret_cast<Choice*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      choice = reinterpret_cast<Choice*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      HWND list = GetDlgItem(dialog, IDC_PROPERTYCHOICE_LIST);
      for (const KyPropEntry& entry : choice->table->entries) {
        const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name));
        if (index >= 0) SendMessageA(list, LB_SETITEMDATA, index, entry.value);
      }
      SetWindowTextA(dialog, choice->table->caption);
      SendMessageA(list, LB_SETCURSEL, 0, 0);
      keepSelection(dialog, *choice);
      return TRUE;
    }
    case WM_COMMAND:
      if (!choice) return FALSE;
      if (LOWORD(wParam) == IDC_PROPERTYCHOICE_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        keepSelection(dialog, *choice);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<int> KyChooseProperty(HWND owner, const KyPropTable& table) {
  Choice choice{&table};
  const INT_PTR result = DialogBoxParamA(CKyPropApp::Module(), MAKEINTRESOURCEA(IDD_PROPERTYCHOICE), owner,
                                         choiceProcedure, reinterpret_cast<LPARAM>(&choice));
  if (result != IDOK) return std::nullopt;
  return choice.value;
}
