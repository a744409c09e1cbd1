// Painting a combo box's face: the sunken edge, the drop-down button, and
// for CBS_DROPDOWNLIST the selected item's text (highlighted while the
// combo has the focus) or the owner's drawing of it.
#include "combobox.h"

#include "control.h"

#include <string>

namespace win32::user {
namespace {

void paintSelectedItem(ComboBox& cb, HDC dc, const RECT& text, HBRUSH background) {
  int current = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  bool enabled = IsWindowEnabled(cb.self) != 0;
  bool highlight = cb.focused && !cb.dropped && enabled;
  if (cb.ownerDraw()) {
    DRAWITEMSTRUCT di{};
    di.CtlType = ODT_COMBOBOX;
    di.CtlID = cb.id;
    di.itemID = (UINT)current;
    di.itemAction = ODA_DRAWENTIRE;
    di.itemState = ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
    di.hwndItem = cb.self;
    di.hDC = dc;
    di.rcItem = text;
    di.itemData = current >= 0 ? (ULONG_PTR)SendMessageA(cb.list, LB_GETITEMDATA, current, 0) : 0;
    FillRect(dc, &text, background);
    SendMessageA(cb.parent, WM_DRAWITEM, cb.id, (LPARAM)&di);
    return;
  }
  FillRect(dc, &text, highlight ? GetSysColorBrush(COLOR_HIGHLIGHT) : background);
  if (current >= 0) {
    LRESULT length = SendMessageA(cb.list, LB_GETTEXTLEN, current, 0);
    std::string s(length > 0 ? (size_t)length + 1 : 1, '\0');
    if (length > 0) SendMessageA(cb.list, LB_GETTEXT, current, (LPARAM)s.data());
    s.resize(length > 0 ? (size_t)length : 0);
    SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : highlight ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    control::FontScope font(dc, cb.font);
    ExtTextOutA(dc, text.left + 2, text.top, ETO_CLIPPED, &text, s.c_str(), (UINT)s.size(), nullptr);
  }
  if (highlight) DrawFocusRect(dc, &text);
}

}  // namespace

void paintCombo(ComboBox& cb, HDC dc) {
  RECT face = faceRect(cb);
  RECT client{};
  GetClientRect(cb.self, &client);
  bool enabled = IsWindowEnabled(cb.self) != 0;
  HBRUSH background = nullptr;
  if (cb.parent)
    background = (HBRUSH)SendMessageA(cb.parent, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, (WPARAM)dc,
                                      (LPARAM)cb.self);
  if (!background) background = GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_3DFACE);
  // A simple combo's area beside its list belongs to the dialog.
  if (cb.simple() && client.bottom > face.bottom) {
    RECT below{client.left, face.bottom, client.right, client.bottom};
    FillRect(dc, &below, GetSysColorBrush(COLOR_3DFACE));
  }
  // The face is painted around the edit child, never over it (whichever paints first).
  if (cb.edit) {
    RECT edit{};
    GetWindowRect(cb.edit, &edit);
    MapWindowPoints(nullptr, cb.self, (POINT*)&edit, 2);
    ExcludeClipRect(dc, edit.left, edit.top, edit.right, edit.bottom);
  }
  RECT inner = face;
  DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &inner, background);
  if (!cb.simple()) {
    RECT button = buttonRect(cb);
    UINT state = DFCS_SCROLLCOMBOBOX | (cb.buttonPressed || cb.dropped ? DFCS_PUSHED | DFCS_FLAT : 0) |
                 (enabled ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc, &button, DFC_SCROLL, state);
  }
  if (cb.dropList()) paintSelectedItem(cb, dc, textRect(cb), background);
}

}  // namespace win32::user
