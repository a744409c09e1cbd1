// The editor windows of the property list: the in-place edit, the drop-down
// list of choices and the arrow button's picture.
#include "KyPropSheet.h"

namespace {

// A window that belongs to the list's editing: the list or one of its
// editors (the drop-down is a top-level window owned by the list).
bool partOfList(HWND window, const KyPropSheet& list, HWND dropDown) {
  return window && (window == list.m_hWnd || window == dropDown || ::GetParent(window) == list.m_hWnd);
}

}  // namespace

LRESULT KyPropEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      // Enter and Escape are the edit's: the sheet must not close on them.
      return CEdit::WindowProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wParam == VK_F4) {
        if (m_list.IsDroppedDown()) m_list.CloseDropDown();
        else m_list.OpenDropDown();
        return 0;
      }
      if (m_list.IsDroppedDown()) {
        // Keys go to the shown drop-down.
        if (wParam == VK_ESCAPE) {
          m_list.CloseDropDown();
          return 0;
        }
        if (wParam == VK_RETURN) {
          m_list.ChooseFromDropDown(-1);
          return 0;
        }
        if (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT || wParam == VK_HOME ||
            wParam == VK_END) {
          m_list.SendMessageToDropDown(message, wParam, lParam);
          return 0;
        }
      }
      if (wParam == VK_RETURN) {
        m_list.CommitEdit();
        m_list.ReturnToList();
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        m_list.CancelEdit();
        m_list.ReturnToList();
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == '\r' || wParam == 27) return 0;  // no beep for the keys handled above
      break;
    case WM_LBUTTONDOWN: {
      const DWORD now = ::GetMessageTime();
      const bool twice = m_lastClick && now - m_lastClick <= ::GetDoubleClickTime();
      m_lastClick = twice ? 0 : now;
      if (twice) {
        m_list.DoubleClickRow();
        return 0;
      }
      break;
    }
    case WM_LBUTTONDBLCLK:
      m_lastClick = 0;
      m_list.DoubleClickRow();
      return 0;
    case WM_KILLFOCUS:
      if (!partOfList(reinterpret_cast<HWND>(wParam), m_list, m_list.DropDownWindow())) {
        m_list.CloseDropDown();
        m_list.CommitEdit();
      }
      break;
  }
  return CEdit::WindowProc(message, wParam, lParam);
}

BOOL KyPropEnumList::Make() {
  // A top-level tool window owned by the list, so that it may reach beyond
  // the page and the sheet.
  if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "LISTBOX", "", WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 0,
                10, 10, m_list.m_hWnd, nullptr))
    return FALSE;
  SendMessage(WM_SETFONT, m_list.SendMessage(WM_GETFONT), FALSE);
  return TRUE;
}

LRESULT KyPropEnumList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONUP: {
      const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
      m_list.ChooseFromDropDown(-1);
      return result;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        m_list.ChooseFromDropDown(-1);
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        m_list.CloseDropDown();
        return 0;
      }
      break;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // the page keeps the activation and the edit its focus
  }
  return CListBox::WindowProc(message, wParam, lParam);
}

void KyPropSheet::KyArrowButton::DrawItem(LPDRAWITEMSTRUCT item) {
  auto* list = static_cast<KyPropSheet*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
  RECT r = item->rcItem;
  const bool pressed = item->itemState & ODS_SELECTED;
  ::FillRect(item->hDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  ::DrawEdge(item->hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  HBITMAP arrow = list ? list->m_bitmaps[3] : nullptr;
  if (!arrow) return;
  BITMAP info{};
  ::GetObjectA(arrow, sizeof info, &info);
  HDC source = ::CreateCompatibleDC(item->hDC);
  HGDIOBJ old = ::SelectObject(source, arrow);
  const int x = (r.left + r.right - info.bmWidth) / 2 + (pressed ? 1 : 0);
  const int y = (r.top + r.bottom - info.bmHeight) / 2 + (pressed ? 1 : 0);
  ::TransparentBlt(item->hDC, x, y, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth, info.bmHeight,
                   RGB(255, 0, 255));
  ::SelectObject(source, old);
  ::DeleteDC(source);
}
