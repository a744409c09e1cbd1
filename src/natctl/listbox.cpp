// The native list box's window procedure.
#include "listbox.h"

#include <vector>

#include "datatypes.h"
#include "listcommon.h"
#include "natmessages.h"

namespace {

constexpr StylePair kListStyles[] = {{0x10, 0},      {0x800010, 0}, {0x20, 0},  {0x4000, 0},
                                     {0x1000, 0},    {0x40, 0x20},  {0x4, 0x2}, {0x1, 0}};

constexpr MessagePair kListMessages[] = {
    {KYM_LISTGETCOUNT, LB_GETCOUNT},          {KYM_LISTCLEAR, LB_RESETCONTENT},
    {KYM_LISTDELETEITEM, LB_DELETESTRING},     {KYM_LISTGETCODE, LB_GETITEMDATA},
    {KYM_LISTGETTEXT, LB_GETTEXT},         {KYM_LISTGETTEXTLEN, LB_GETTEXTLEN},
    {KYM_LISTSETCODE, LB_SETITEMDATA}, {KYM_LISTFINDTEXT, LB_FINDSTRING},
    {KYM_LISTSELECTTEXT, LB_SELECTSTRING}, {KYM_LISTISSELECTED, LB_GETSEL},
    {KYM_LISTGETSELCOUNT, LB_GETSELCOUNT},    {KYM_LISTSELECTRANGE, LB_SELITEMRANGEEX},
    {KYM_LISTGETSELITEMS, LB_GETSELITEMS},    {KYM_LISTGETEXTENT, LB_GETHORIZONTALEXTENT},
    {KYM_LISTGETITEMRECT, LB_GETITEMRECT},    {KYM_LISTGETTOP, LB_GETTOPINDEX},
    {KYM_LISTSETTOP, LB_SETTOPINDEX}, {KYM_LISTSETTABSTOPS, LB_SETTABSTOPS},
    {KYM_LISTSETREDRAW, WM_SETREDRAW},        {CB_SETITEMDATA, LB_SETITEMDATA},
};

constexpr ItemMessages kListItems{LB_ADDSTRING, LB_INSERTSTRING, LB_SETITEMDATA, LB_FINDSTRINGEXACT, LB_GETTEXT, LB_GETTEXTLEN,
                                  32000};

FocusText& focusText() {
  static FocusText remembered;
  return remembered;
}

}  // namespace

BOOL KyGUILBControlImp::CreateControl(const KyNativeCreate& args) {
  BeginCreate(args.style, 0x20, args.windowName);
  width = args.width;
  height = args.height;
  DWORD style = args.style;
  style |= TranslatePairs(style, kListStyles) | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY;
  const BOOL made = CreateEx(args.exStyle, "LISTBOX", args.windowName, style, args.x, args.y, args.width,
                             args.height, args.parent, args.id, args.param);
  singleSelection = made && !(GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  return made;
}

LRESULT KyGUILBControlImp::GetItemData(int index) { return Standard(LB_GETITEMDATA, index, 0); }

std::string KyGUILBControlImp::itemText(int index) { return ItemTextAt(*this, kListItems, index); }

int KyGUILBControlImp::currentIndex() {
  return static_cast<int>(Standard(singleSelection ? LB_GETCURSEL : LB_GETCARETINDEX, 0, 0));
}

std::string KyGUILBControlImp::selectedText() {
  const int index = currentIndex();
  if (index < 0) return {};
  if (!singleSelection && Standard(LB_GETSEL, index, 0) <= 0) return {};
  return itemText(index);
}

LRESULT KyGUILBControlImp::select(int index, int mode) {
  int state = mode;
  if (mode == 2) state = Standard(LB_GETSEL, index, 0) > 0 ? 0 : 1;
  if (!singleSelection) {
    Standard(LB_SETCARETINDEX, index, TRUE);
    return Standard(LB_SETSEL, state, index);
  }
  return Standard(LB_SETCURSEL, state ? index : -1, 0);
}

LRESULT KyGUILBControlImp::addCased(UINT message, WPARAM wParam, LPARAM lParam) {
  const char* given = reinterpret_cast<const char*>(lParam);
  if (!given || textCase == 0) return Standard(message, wParam, lParam);
  std::string text = given;
  ApplyTextCase(text.data());
  return Standard(message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT KyGUILBControlImp::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  const bool ownSize = message == KYM_EDITGETVALUELENGTH || message == KYM_LISTGETCODELENGTH;
  if (!ownSize && HandleCommonMessage(message, wParam, lParam, &result)) return result;
  if (const UINT standard = StandardMessage(kListMessages, message)) return Standard(standard, wParam, lParam);
  if (HandleItemMessage(*this, kListItems, message, wParam, lParam, &result)) return result;
  switch (message) {
    case KYM_EDITGETVALUELENGTH: case KYM_LISTGETCODELENGTH:
      if (type == 's') {
        const LRESULT length = Standard(LB_GETTEXTLEN, wParam, 0);
        if (length != LB_ERR) return length;
      }
      return HCtlStorageSize(type, storage);
    case KYM_LISTSELECTITEM: case KYM_LISTSELECTITEM2: return select(static_cast<int>(lParam), static_cast<int>(wParam));
    case KYM_LISTSELECTDATA: case KYM_LISTSELECTCODE: {
      const LRESULT index = Standard(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(ItemText(*this, lParam).c_str()));
      if (index != LB_ERR) select(static_cast<int>(index), static_cast<int>(wParam));
      return index;
    }
    case KYM_LISTGETCURDATA: {
      const int index = currentIndex();
      if (index < 0) return LB_ERR;
      return ItemToBuffer(*this, itemText(index), wParam, lParam);
    }
    case KYM_LISTGETCURCODE: {
      const int index = currentIndex();
      if (index >= 0) GetItemData(index);
      return index;
    }
    case KYM_LISTLAYOUT: column = static_cast<int32_t>(wParam); Repaint(); return 0;
    case KYM_LISTGETCURRENT: return currentIndex();
    case KYM_LISTSETCURRENT: return select(static_cast<int>(lParam), 1);
    case KYM_LISTSETCOLUMNWIDTH: column = static_cast<int32_t>(wParam); return Standard(LB_SETCOLUMNWIDTH, wParam, 0);
    case KYM_LISTGETCOLUMNWIDTH: return column;
    case KYM_LISTSCROLL:
      return Standard((GetStyle() & LBS_MULTICOLUMN) ? WM_HSCROLL : WM_VSCROLL, wParam, lParam);
    case LB_ADDSTRING: case LB_INSERTSTRING: return addCased(message, wParam, lParam);
    case WM_SETFOCUS: case WM_KILLFOCUS: focusText().track(*this, message, selectedText()); break;
    default: break;
  }
  return Standard(message, wParam, lParam);
}
