// In-cell fields: each column edits its cells through a window of the
// library's own classes (edit, list, combo, check button), made hidden as
// a child of the grid (or of its edit bar), loaded from the current cell,
// shown over it, and read back into the cell when the user leaves it. The
// grid filters the field's keys first, so that moving keys reach the grid.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "button.h"
#include "combobox.h"
#include "datatypes.h"
#include "editcontrol.h"
#include "grid.h"
#include "library.h"
#include "listcontrol.h"
#include "nwiresource.h"

namespace {

constexpr const char* kOriginalProc = "HGridFieldProc";

std::string classPrefix(HWND grid) {
  char name[256] = {};
  const int length = GetClassNameA(grid, name, sizeof name);
  if (length <= 4) return "H";
  return std::string(name, static_cast<size_t>(length - 4));
}

std::string pair(char type, char storage) { return std::string("%") + type + storage; }

bool validPair(char type, char storage) { return HCtlTypeValid(type) && HCtlStorageValid(type, storage); }

struct FieldWindow {
  const char* suffix;
  int id;
  std::string text;
  DWORD style;
};

// The class, id, creation text and style of a column's field; id 0: none.
FieldWindow fieldWindowFor(const HGridRecord* r, const HGField* f) {
  const bool inPlace = r->editBar == nullptr;
  const std::string display = validPair(f->displayType, f->displayStorage) ? pair(f->displayType, f->displayStorage) : "";
  const DWORD listStyle = (f->style & ~0x800020u) | 0x40000011u;
  switch (f->fieldClass) {
    case 'e': {
      DWORD style = inPlace ? ((f->style & ~0x800000u) | ((f->style & 0x2) ? 0x800u : 0u)) : (f->style & ~0x800C03u);
      return {"Edit_SS", 200, pair(f->type, f->storage) + f->picture, style | 0x40000200u};
    }
    case 'l': return {"List", 201, pair(f->type, f->storage) + display + f->picture, listStyle};
    case 'c':
      return {"Comb", 202, "%" + std::to_string(f->height) + pair(f->type, f->storage) + f->picture, listStyle | 0x8u};
    case 'd':
      return {"Comb", 203, "%" + std::to_string(f->height) + pair(f->type, f->storage) + display + f->picture,
              listStyle};
    case 'k': return {"Butt", 204, std::string("4") + f->storage, 0x40001C02u};
    default: return {nullptr, 0, "", 0};
  }
}

HGridRecord* gridOfField(HWND field) {
  HWND parent = GetParent(field);
  HGridRecord* r = HGRecordOf(parent);
  return r != nullptr ? r : HGRecordOf(GetParent(parent));
}

HGField* fieldOf(HGridRecord* r, HWND window) {
  for (HGField* f : r->data->columns)
    if (f->fieldWindow != nullptr && f->fieldWindow->window == window) return f;
  return nullptr;
}

bool isEditableCombo(HWND window) {
  HCRecord* combo = HCRecordOf(window);
  return combo != nullptr && HCEditable(combo);
}

// Whether the grid takes this key from the field (the field's class letter decides).
bool routedToGrid(char fieldClass, HWND window, UINT key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool list = fieldClass == 'l' || fieldClass == 'd';
  const bool editableCombo = fieldClass == 'c' && isEditableCombo(window);
  switch (key) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: return true;
    case VK_PRIOR: case VK_NEXT: return ctrl || !(list || editableCombo);
    case VK_HOME: case VK_END: return ctrl;
    case VK_LEFT: case VK_RIGHT: return fieldClass != 'e' && !editableCombo;
    case VK_UP: case VK_DOWN: return ctrl || !(list || editableCombo);
    default: return false;
  }
}

LRESULT CALLBACK fieldFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto original = reinterpret_cast<WNDPROC>(GetPropA(window, kOriginalProc));
  HGridRecord* r = gridOfField(window);
  HGField* field = r != nullptr ? fieldOf(r, window) : nullptr;
  if (original == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (field != nullptr) {
    HWND grid = r->head.window;
    switch (message) {
      case WM_KEYDOWN:
        if (routedToGrid(field->fieldClass, window, static_cast<UINT>(wParam))) return SendMessageA(grid, message, wParam, lParam);
        break;
      case WM_CHAR:
        if (wParam == '\t' || wParam == '\r' || wParam == 27) return 0;  // the grid took the key down
        break;
      case WM_SYSKEYDOWN: return SendMessageA(grid, message, wParam, lParam);
      case WM_GETDLGCODE: return SendMessageA(grid, message, wParam, lParam);
      case WM_LBUTTONDBLCLK:
        if (r->head.notifyTarget != nullptr)
          SendMessageA(r->head.notifyTarget, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), HGN_DBLCLK),
                       reinterpret_cast<LPARAM>(window));
        break;
      case WM_LBUTTONUP: case WM_RBUTTONUP: {
        const LRESULT answer = CallWindowProcA(original, window, message, wParam, lParam);
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &at);
        PostMessageA(grid, message == WM_LBUTTONUP ? KYM_GRIDFIELDLBUTTONUP : KYM_GRIDFIELDRBUTTONUP, wParam,
                     MAKELPARAM(at.x, at.y));
        return answer;
      }
      case WM_SETFOCUS: {
        const LRESULT answer = CallWindowProcA(original, window, message, wParam, lParam);
        if (IsWindow(grid)) SendMessageA(grid, KYM_FIELDGOTFOCUS, 0, reinterpret_cast<LPARAM>(window));
        return answer;
      }
      case WM_KILLFOCUS: {
        const LRESULT answer = CallWindowProcA(original, window, message, wParam, lParam);
        if (IsWindow(grid)) SendMessageA(grid, KYM_FIELDLOSTFOCUS, wParam, reinterpret_cast<LPARAM>(window));
        return answer;
      }
      case WM_NCDESTROY: RemovePropA(window, kOriginalProc); break;
      default: break;
    }
  }
  return CallWindowProcA(original, window, message, wParam, lParam);
}

HGField* currentFieldColumn(HGridRecord* r) {
  HGField* f = HGColumn(r->data, r->currentColumn);
  return f != nullptr && f->fieldWindow != nullptr && r->currentRow >= 0 && r->currentRow < HGRowCount(r->data) ? f
                                                                                                              : nullptr;
}

// The edit bar's statics paint transparently on the light gray ground.
INT_PTR CALLBACK editBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORDLG:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetStockObject(LTGRAY_BRUSH));
    case WM_COMMAND:
      // The field's notifications reach the grid as they would in place.
      SendMessageA(GetParent(bar), WM_COMMAND, wParam, 0);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void HGMakeEditBar(HGridRecord* r) {
  const bool wanted = !(r->data->options & (HGO_READONLY | HGO_INPLACE));
  if (wanted == (r->editBar != nullptr)) return;
  if (!wanted) {
    DestroyWindow(r->editBar);
    r->editBar = nullptr;
    return;
  }
  r->editBar = CreateDialogParamA(HCtlLibraryModule(), MAKEINTRESOURCEA(IDD_HGRIDEDITBAR), r->head.window,
                                  editBarProc, 0);
  if (r->editBar == nullptr) return;
  RECT client, bar;
  GetClientRect(r->head.window, &client);
  GetWindowRect(r->editBar, &bar);
  SetWindowPos(r->editBar, HWND_TOP, 0, 0, client.right, bar.bottom - bar.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

bool HGRebuildEditBar(HGridRecord* r) {
  const bool wanted = !(r->data->options & (HGO_READONLY | HGO_INPLACE));
  if (wanted == (r->editBar != nullptr)) return false;
  // The field windows are children of the bar and styled for it: they go
  // with it and are made again for their new place.
  HGHideField(r);
  for (HGField* f : r->data->columns) {
    if (f->fieldWindow == nullptr) continue;
    HWND window = f->fieldWindow->window;
    f->fieldWindow = nullptr;
    if (IsWindow(window)) DestroyWindow(window);
  }
  HGMakeEditBar(r);
  HGMakeFieldWindows(r);
  return true;
}

void HGMakeFieldWindow(HGridRecord* r, HGField* f) {
  if (f == nullptr || f->fieldWindow != nullptr) return;
  const FieldWindow made = fieldWindowFor(r, f);
  if (made.suffix == nullptr) return;
  const std::string className = classPrefix(r->head.window) + made.suffix;
  // Creation takes the text up to its first byte of 128 or above; the whole
  // text is set once the window exists.
  const std::string text = made.text;
  size_t plain = 0;
  while (plain < text.size() && static_cast<unsigned char>(text[plain]) < 128) ++plain;
  HWND parent = r->editBar != nullptr ? r->editBar : r->head.window;
  HWND window = CreateWindowExA(0, className.c_str(), text.substr(0, plain).c_str(), made.style & ~WS_VISIBLE, 0, 0,
                                f->width, r->data->rowHeight, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(made.id)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(r->head.window, GWLP_HINSTANCE)), nullptr);
  if (window == nullptr) return;
  if (plain < text.size()) SetWindowTextA(window, text.c_str());
  f->fieldWindow = reinterpret_cast<HCtlRecord*>(SendMessageA(window, KYM_GETINSTANCE, 0, 0));
  if (f->fieldWindow == nullptr) {
    DestroyWindow(window);
    return;
  }
  f->boxed = ((f->style & 0x10000) != 0 || className[0] == 'H') ? 1 : 0;
  SendMessageA(window, KYM_SETNOTIFYWND, reinterpret_cast<WPARAM>(r->head.window), 0);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(r->head.font), 0);
  if (f->storage == 's' && (f->fieldClass == 'e' || (f->fieldClass == 'c' && isEditableCombo(window)))) {
    const int limit = std::max(f->valueWidth - 1, 0);
    SendMessageA(window, f->fieldClass == 'e' ? KYM_EDITSETLIMIT : CB_LIMITTEXT, static_cast<WPARAM>(limit), 0);
  }
  if (r->backBrush != nullptr) SendMessageA(window, KYM_SETBKBRUSH, reinterpret_cast<WPARAM>(r->backBrush), 0);
  SetPropA(window, kOriginalProc, reinterpret_cast<HANDLE>(HCtlSubclass(window, fieldFilter)));
}

void HGMakeFieldWindows(HGridRecord* r) {
  for (HGField* f : r->data->columns) HGMakeFieldWindow(r, f);
}

void HGLoadField(HGridRecord* r) {
  HGField* f = currentFieldColumn(r);
  if (f == nullptr) return;
  HWND window = f->fieldWindow->window;
  BYTE* current = HGReachRow(r->data, r->currentRow);
  HGCellState look{};
  if (!HGGetState(r->data, current, HGPositionOfColumn(r->data, r->currentColumn), &look)) return;
  std::vector<BYTE> value(std::max<size_t>(static_cast<size_t>(std::max<short>(f->valueWidth, 0)) + 1, 32), 0);
  std::memcpy(value.data(), current + f->offset, static_cast<size_t>(std::max<short>(f->valueWidth, 0)));
  const LPARAM pointer = (look.marks & HGM_NULL) ? 0 : reinterpret_cast<LPARAM>(value.data());
  if (look.lookOn) {
    SendMessageA(window, KYM_SETTEXTCOLOR, 0, static_cast<LPARAM>(look.text));
    SendMessageA(window, KYM_SETBKCOLOR, 0, static_cast<LPARAM>(look.background));
    if (look.font != 0) SendMessageA(window, WM_SETFONT, static_cast<WPARAM>(look.font), 0);
  }
  EnableWindow(window, look.disabled == 0);
  r->editing = TRUE;
  switch (f->fieldClass) {
    case 'e': case 'c': SendMessageA(window, KYM_SETDATA, 0, pointer); break;
    case 'k': SendMessageA(window, KYM_BUTTSETVALUE, 0, pointer); break;
    case 'd': case 'l':
      SendMessageA(window, (f->flags & HGC_CODED) ? KYM_LISTSELECTCODE : KYM_LISTSELECTDATA, 1, pointer);
      break;
    default: break;
  }
  SendMessageA(window, KYM_SETFLAG2000, 0, 0);
  r->editing = FALSE;
}

void HGPlaceField(HGridRecord* r) {
  HGField* f = currentFieldColumn(r);
  HWND focus = GetFocus();
  const bool focused = focus == r->head.window || (focus != nullptr && IsChild(r->head.window, focus)) ||
                       (r->head.flags & HGF_FIELDFOCUS);
  RECT cell{};
  const int position = f ? HGPositionOfColumn(r->data, r->currentColumn) : -1;
  const bool visible = f != nullptr && HGCellRect(r, position, r->currentRow, &cell) && r->currentRow >= r->topRow &&
                       r->currentRow < r->topRow + r->visibleRows && !(f->flags & HGC_HIDDEN);
  if (r->currentField != nullptr && (f == nullptr || r->currentField != f->fieldWindow)) HGHideField(r);
  if (f == nullptr || !visible || !(focused || (r->data->options & HGO_KEEPFIELD))) {
    if (f != nullptr && !(r->head.flags & HGF_FIELDFOCUS)) HGHideField(r);
    return;
  }
  HWND window = f->fieldWindow->window;
  if (r->currentField != f->fieldWindow) {
    r->currentField = f->fieldWindow;
    HGLoadField(r);
  }
  if (r->editBar != nullptr) {
    SetDlgItemTextA(r->editBar, IDC_HGRIDEDITTITLE, f->title);
    RECT place;
    GetWindowRect(GetDlgItem(r->editBar, IDC_HGRIDEDITFIELD), &place);
    MapWindowPoints(nullptr, r->editBar, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPos(window, HWND_TOP, place.left, place.top, place.right - place.left - 2, place.bottom - place.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
  } else {
    SetWindowPos(window, HWND_TOP, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
  }
  r->head.flags |= HGF_FIELDSHOWN;
}

void HGHideField(HGridRecord* r) {
  if (r->currentField != nullptr && IsWindow(r->currentField->window)) {
    if (GetFocus() == r->currentField->window) SetFocus(r->head.window);
    ShowWindow(r->currentField->window, SW_HIDE);
  }
  r->currentField = nullptr;
  r->head.flags &= static_cast<WORD>(~HGF_FIELDSHOWN);
}

BOOL HGCommitField(HGridRecord* r) {
  HGField* f = currentFieldColumn(r);
  if (f == nullptr || r->committing || r->editing || !(r->head.flags & HGF_FIELDFOCUS) || f->valueWidth < 1)
    return TRUE;
  HWND window = f->fieldWindow->window;
  if (SendMessageA(window, KYM_GETFLAG2000, 0, 0) == 0) return TRUE;
  r->committing = TRUE;
  std::vector<BYTE> value(std::max<size_t>(static_cast<size_t>(f->valueWidth) + 1, 32), 0);
  const auto size = static_cast<WPARAM>(value.size());
  const auto buffer = reinterpret_cast<LPARAM>(value.data());
  LRESULT got = 0;
  switch (f->fieldClass) {
    case 'e': case 'c': got = SendMessageA(window, KYM_GETDATA, size, buffer); break;
    case 'k': got = SendMessageA(window, KYM_BUTTGETVALUE, 0, buffer) > 0 ? 1 : 0; break;
    case 'd': case 'l':
      got = SendMessageA(window, (f->flags & HGC_CODED) ? KYM_LISTGETCURCODE : KYM_LISTGETCURDATA, size, buffer);
      break;
    default: break;
  }
  HWND grid = r->head.window;
  const int stored = HGSetCell(r, r->currentColumn, r->currentRow, got > 0 ? value.data() : nullptr);
  if (HGRecordOf(grid) != r) return FALSE;  // the owner destroyed the grid meanwhile
  r->committing = FALSE;
  if (stored == 0) return FALSE;
  SendMessageA(window, KYM_SETFLAG2000, 0, 0);
  return TRUE;
}
