// The native combo box's window procedure and its edit part.
#include "combobox.h"

#include <cstring>
#include <vector>

#include "datatypes.h"
#include "editcommon.h"
#include "library.h"
#include "listcommon.h"
#include "natformat.h"
#include "natmessages.h"

namespace {

constexpr StylePair kComboStyles[] = {{0x10, 0},   {0x800010, 0}, {0x1000, 0}, {0x400, 0},   {0x100, 0x400}, {0x80, 0},
                                      {0x40, 0x20}, {0x20, 0},    {0x8, 0},    {0x4, 0x100}, {0x2, 0x100},   {0x1, 0x3}};

constexpr MessagePair kComboMessages[] = {
    {KYM_EDITGETLIMIT, WM_GETTEXTLENGTH},  {KYM_EDITSETLIMIT, CB_LIMITTEXT},
    {KYM_LISTGETCOUNT, CB_GETCOUNT},          {KYM_LISTCLEAR, CB_RESETCONTENT},
    {KYM_LISTDELETEITEM, CB_DELETESTRING},     {KYM_LISTGETCODE, CB_GETITEMDATA},
    {KYM_LISTGETTEXT, CB_GETLBTEXT},       {KYM_LISTGETTEXTLEN, CB_GETLBTEXTLEN},
    {KYM_LISTSETCODE, CB_SETITEMDATA}, {KYM_LISTFINDTEXT, CB_FINDSTRING},
    {KYM_LISTSELECTTEXT, CB_SELECTSTRING}, {KYM_LISTGETCURRENT, CB_GETCURSEL},
    {KYM_LISTSETCURRENT, CB_SETCURSEL},     {KYM_LISTGETTOP, CB_GETTOPINDEX},
    {KYM_LISTSETTOP, CB_SETTOPINDEX},
};

// A text item added to a combo box keeps at most 1023 characters.
constexpr ItemMessages kComboItems{CB_ADDSTRING, CB_INSERTSTRING, CB_SETITEMDATA, CB_FINDSTRINGEXACT, CB_GETLBTEXT, CB_GETLBTEXTLEN,
                                   1023};

constexpr int kComboEditId = 1001;
constexpr UINT kComboInfo = 0x164;

FocusText& focusText() {
  static FocusText remembered;
  return remembered;
}

}  // namespace

LRESULT KyGUICBEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND comboWindow = combo_->Window();
  switch (message) {
    case WM_SETFOCUS:
      kept_ = combo_->background;
      ::SendMessageA(comboWindow, KYM_SETBKCOLOR, 0, static_cast<LPARAM>(combo_->focusBackground));
      break;
    case WM_KILLFOCUS: ::SendMessageA(comboWindow, KYM_SETBKCOLOR, 0, static_cast<LPARAM>(kept_)); break;
    case WM_LBUTTONUP: ::SendMessageA(comboWindow, message, wParam, lParam); break;
    case WM_RBUTTONUP:
      if (!contextMenu) {
        SetFocus();
        return ::SendMessageA(comboWindow, message, wParam, lParam);
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_INSERT) {
        NatCtl::SetOverwriteMode(!NatCtl::GetOverwriteMode());
        return 1;
      }
      break;
    case WM_CHAR:
      if (OverwriteChar(m_hWnd, wParam)) return 0;
      break;
    default: break;
  }
  return CEdit::WindowProc(message, wParam, lParam);
}

KyGUICBControlImp::~KyGUICBControlImp() {
  if (edit && edit->GetSafeHwnd()) edit->UnsubclassWindow();
}

BOOL KyGUICBControlImp::CreateControl(const KyNativeCreate& args) {
  BeginCreate(args.style, 0x20, args.windowName);
  width = args.width;
  DWORD style = args.style;
  const DWORD native = TranslatePairs(style, kComboStyles);
  style |= native;
  const bool dropList = HasAllBits(native, CBS_DROPDOWNLIST);
  if (!dropList) style |= CBS_DROPDOWN | CBS_AUTOHSCROLL;
  style |= WS_VSCROLL;
  if (!CreateEx(args.exStyle, "COMBOBOX", args.windowName, style, args.x, args.y, args.width, args.height,
                args.parent, args.id, args.param))
    return FALSE;
  if (!dropList && focusColors) {
    if (HWND child = ::GetDlgItem(m_hWnd, kComboEditId)) {
      edit = std::make_unique<KyGUICBEdit>(this);
      edit->SubclassWindow(child);
    }
  }
  return TRUE;
}

LRESULT KyGUICBControlImp::GetItemData(int index) { return Standard(CB_GETITEMDATA, index, 0); }

std::string KyGUICBControlImp::itemText(int index) { return ItemTextAt(*this, kComboItems, index); }

std::string KyGUICBControlImp::selectedText() {
  const LRESULT index = Standard(CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? std::string() : itemText(static_cast<int>(index));
}

LRESULT KyGUICBControlImp::getData(WPARAM size, LPARAM buffer) {
  const LRESULT index = Standard(CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) {
    // No selection: the edit text, cut to the caller's buffer.
    if (!buffer || static_cast<int>(size) <= 0) return CB_ERR;
    return HCtlCopyText(reinterpret_cast<char*>(buffer), WindowText(m_hWnd).c_str(), static_cast<int>(size));
  }
  return ItemToBuffer(*this, itemText(static_cast<int>(index)), size, buffer);
}

LRESULT KyGUICBControlImp::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KILLFOCUS || message == kComboInfo) buttonUp = false;
  if (message == WM_CTLCOLOR) return Standard(message, wParam, lParam);
  if (message == WM_LBUTTONUP && !buttonUp) {
    buttonUp = true;
    return Standard(message, wParam, lParam);
  }
  LRESULT result = 0;
  const bool ownSize = message == KYM_EDITGETVALUELENGTH || message == KYM_LISTGETCODELENGTH;
  if (!ownSize && HandleCommonMessage(message, wParam, lParam, &result)) return result;
  if (const UINT standard = StandardMessage(kComboMessages, message)) return Standard(standard, wParam, lParam);
  if (HandleItemMessage(*this, kComboItems, message, wParam, lParam, &result)) return result;
  switch (message) {
    case KYM_GETDATA: case KYM_LISTGETCURDATA: case KYM_LISTGETCURCODE: return getData(wParam, lParam);
    case KYM_SETDATA:
      return Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ItemText(*this, lParam).c_str()));
    case KYM_EDITREFRESH: Repaint(); return 0;
    case KYM_EDITGETVALUELENGTH: case KYM_LISTGETCODELENGTH:
      if (static_cast<int>(wParam) == -1) return GetWindowTextLengthA(m_hWnd);
      if (type == 's') return Standard(CB_GETLBTEXTLEN, wParam, 0);
      return HCtlStorageSize(type, storage);
    case KYM_LISTSELECTDATA: case KYM_LISTSELECTCODE: {
      const std::string text = ItemText(*this, lParam);
      const LRESULT index = Standard(CB_FINDSTRINGEXACT, wParam, reinterpret_cast<LPARAM>(text.c_str()));
      Standard(CB_SETCURSEL, index, 0);
      if (index == CB_ERR) Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
      return index;
    }
    case KYM_LISTSCROLL: return Standard(WM_VSCROLL, wParam, lParam);
    case NKM_SETCONTEXTMENU:
      contextMenu = lParam != 0;
      if (edit) edit->contextMenu = contextMenu;
      return 0;
    case WM_SETFOCUS: case WM_KILLFOCUS: focusText().track(*this, message, selectedText()); break;
    default: break;
  }
  return Standard(message, wParam, lParam);
}
