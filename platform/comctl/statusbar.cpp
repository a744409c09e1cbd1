// The "msctls_statusbar32" control: a bar along the bottom of its parent
// with parts (right edges set by SB_SETPARTS, -1 reaching the right end),
// a text per part drawn sunken, raised (SBT_POPOUT), without border
// (SBT_NOBORDERS) or by the parent (SBT_OWNERDRAW, WM_DRAWITEM), a simple
// mode showing one text across the bar, and a size grip.
#include "commonstate.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace win32::comctl {
namespace {

constexpr int kMaxParts = 256;
constexpr int kHorizontalBorder = 0;  // SB_GETBORDERS: left and right of the bar
constexpr int kVerticalBorder = 2;    // above and below the parts
constexpr int kBetweenParts = 2;
constexpr int kTextIndent = 3;        // text to its part's left edge

struct PartText {
  std::string text;
  WORD type = 0;     // SBT_* bits
  LPARAM data = 0;   // what an owner-drawn part was given
};

struct StatusBar {
  std::vector<int> rightEdges{-1};
  std::vector<PartText> texts{PartText{}};
  PartText simpleText;
  bool simple = false;
  int minHeight = 0;
  HFONT font = nullptr;
};

StatusBar* barOf(HWND hwnd) { return stateOf<StatusBar>(hwnd); }

HFONT fontOf(const StatusBar& sb) { return sb.font ? sb.font : (HFONT)GetStockObject(DEFAULT_GUI_FONT); }

int textHeight(HWND hwnd, const StatusBar& sb) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, fontOf(sb));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return tm.tmHeight;
}

// The bar's height: the text with room around it, or the minimum drawing
// height SB_SETMINHEIGHT asked for, plus the borders.
int barHeight(HWND hwnd, const StatusBar& sb) {
  int inner = std::max(textHeight(hwnd, sb) + 3, sb.minHeight);
  return inner + 2 * kVerticalBorder + 2;
}

void place(HWND hwnd, const StatusBar& sb) { alignToParent(hwnd, barHeight(hwnd, sb), CCS_BOTTOM); }

int gripWidth(HWND hwnd) {
  if (!(GetWindowLongA(hwnd, GWL_STYLE) & SBARS_SIZEGRIP)) return 0;
  RECT client{};
  GetClientRect(hwnd, &client);
  return client.bottom;  // a square in the bottom-right corner
}

RECT partRect(HWND hwnd, const StatusBar& sb, size_t part) {
  RECT client{};
  GetClientRect(hwnd, &client);
  int left = part == 0 ? kHorizontalBorder : sb.rightEdges[part - 1] + kBetweenParts;
  int right = sb.rightEdges[part];
  if (right < 0 || right > client.right) right = client.right - kHorizontalBorder;
  if (part > 0 && sb.rightEdges[part - 1] < 0) left = right;  // after a part that took the rest
  return RECT{left, kVerticalBorder, std::max(left, right), client.bottom - kVerticalBorder + 1};
}

RECT simpleRect(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return RECT{kHorizontalBorder, kVerticalBorder, client.right - kHorizontalBorder, client.bottom - kVerticalBorder + 1};
}

// A tab in the text starts a centred piece, a second one a right-aligned piece.
void drawParts(HDC dc, RECT r, const std::string& text) {
  static constexpr UINT kAlign[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  size_t start = 0;
  for (int piece = 0; piece < 3 && start <= text.size(); ++piece) {
    size_t tab = piece < 2 ? text.find('\t', start) : std::string::npos;
    std::string part = text.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    DrawTextA(dc, part.c_str(), (int)part.size(), &r, kAlign[piece] | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
}

void paintPart(HWND hwnd, HDC dc, const StatusBar& sb, const PartText& part, RECT r, UINT itemId) {
  if (!(part.type & SBT_NOBORDERS))
    DrawEdge(dc, &r, (part.type & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
  RECT inside = r;
  InflateRect(&inside, -1, -1);
  if (part.type & SBT_OWNERDRAW) {
    DRAWITEMSTRUCT dis{};
    dis.CtlID = (UINT)GetDlgCtrlID(hwnd);
    dis.itemID = itemId;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = inside;
    dis.itemData = (ULONG_PTR)part.data;
    HWND target = reportTarget(hwnd);
    if (target) SendMessageA(target, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  inside.left += kTextIndent;
  inside.right -= kTextIndent;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = SelectObject(dc, fontOf(sb));
  drawParts(dc, inside, part.text);
  SelectObject(dc, old);
}

void paint(HWND hwnd, HDC given) {
  StatusBar* sb = barOf(hwnd);
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (sb) {
    if (sb->simple) {
      paintPart(hwnd, dc, *sb, sb->simpleText, simpleRect(hwnd), SB_SIMPLEID);
    } else {
      for (size_t i = 0; i < sb->rightEdges.size(); ++i) {
        RECT r = partRect(hwnd, *sb, i);
        if (r.right > r.left) paintPart(hwnd, dc, *sb, sb->texts[i], r, (UINT)i);
      }
    }
    if (int grip = gripWidth(hwnd)) {
      RECT g{client.right - grip, client.bottom - grip, client.right, client.bottom};
      DrawFrameControl(dc, &g, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
  }
  if (!given) EndPaint(hwnd, &ps);
}

PartText* textFor(StatusBar& sb, size_t part) {
  if (part == SB_SIMPLEID) return &sb.simpleText;
  return part < sb.texts.size() ? &sb.texts[part] : nullptr;
}

LRESULT setText(HWND hwnd, StatusBar& sb, WPARAM wParam, LPARAM lParam) {
  PartText* part = textFor(sb, LOBYTE(wParam));
  if (!part) return FALSE;
  part->type = (WORD)(wParam & 0xFF00);
  part->data = 0;
  part->text.clear();
  if (part->type & SBT_OWNERDRAW)
    part->data = lParam;
  else if (lParam)
    part->text = reinterpret_cast<const char*>(lParam);
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

// SB_GETTEXT / SB_GETTEXTLENGTH answer the length in the low word and the
// type in the high word; an owner-drawn part answers its data.
LRESULT getText(StatusBar& sb, WPARAM wParam, char* buffer) {
  PartText* part = textFor(sb, LOBYTE(wParam));
  if (!part) return 0;
  if (part->type & SBT_OWNERDRAW) return part->data;
  if (buffer) {
    // The message carries no size: the caller sized the buffer by
    // SB_GETTEXTLENGTH, as for LB_GETTEXT.
    memcpy(buffer, part->text.c_str(), part->text.size() + 1);
  }
  return MAKELONG(part->text.size(), part->type);
}

LRESULT setParts(HWND hwnd, StatusBar& sb, int count, const int* edges) {
  if (count <= 0 || count > kMaxParts || !edges) return FALSE;
  sb.rightEdges.assign(edges, edges + count);
  sb.texts.resize((size_t)count);
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

LRESULT CALLBACK statusBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  StatusBar* sb = barOf(hwnd);
  if (msg == WM_NCCREATE) {
    attachState<StatusBar>(hwnd);
    if (auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam); cs && cs->lpszName)
      barOf(hwnd)->texts[0].text = cs->lpszName;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!sb) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE:
      place(hwnd, *sb);
      return 0;
    case WM_NCDESTROY:
      detachState<StatusBar>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      // The parent forwards its own WM_SIZE: the bar finds its place itself.
      place(hwnd, *sb);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      paint(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST: {
      // The grip sizes the parent, as the corner of its frame would.
      LRESULT hit = DefWindowProcA(hwnd, msg, wParam, lParam);
      int grip = gripWidth(hwnd);
      HWND parent = GetParent(hwnd);
      if (grip && hit == HTCLIENT && parent && !IsZoomed(parent)) {
        POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ScreenToClient(hwnd, &pt);
        RECT client{};
        GetClientRect(hwnd, &client);
        if (pt.x >= client.right - grip) return HTBOTTOMRIGHT;
      }
      return hit;
    }
    case WM_SETFONT:
      sb->font = reinterpret_cast<HFONT>(wParam);
      place(hwnd, *sb);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(sb->font);
    case WM_SETTEXT:
      return setText(hwnd, *sb, sb->simple ? SB_SIMPLEID : 0, lParam);
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      const PartText& t = sb->simple ? sb->simpleText : sb->texts[0];
      lstrcpynA(reinterpret_cast<char*>(lParam), t.text.c_str(), (int)wParam);
      return (LRESULT)std::min(t.text.size(), (size_t)wParam - 1);
    }
    case WM_GETTEXTLENGTH:
      return (LRESULT)(sb->simple ? sb->simpleText : sb->texts[0]).text.size();

    case SB_SETTEXTA:
      return setText(hwnd, *sb, wParam, lParam);
    case SB_GETTEXTA:
      return getText(*sb, wParam, reinterpret_cast<char*>(lParam));
    case SB_GETTEXTLENGTHA: {
      PartText* part = textFor(*sb, LOBYTE(wParam));
      return part ? MAKELONG(part->text.size(), part->type) : 0;
    }
    case SB_SETPARTS:
      return setParts(hwnd, *sb, (int)wParam, reinterpret_cast<const int*>(lParam));
    case SB_GETPARTS: {
      auto* out = reinterpret_cast<int*>(lParam);
      size_t n = std::min(sb->rightEdges.size(), (size_t)wParam);
      if (out)
        for (size_t i = 0; i < n; ++i) out[i] = sb->rightEdges[i];
      return (LRESULT)sb->rightEdges.size();
    }
    case SB_GETBORDERS: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (!out) return FALSE;
      out[0] = kHorizontalBorder;
      out[1] = kVerticalBorder;
      out[2] = kBetweenParts;
      return TRUE;
    }
    case SB_SETMINHEIGHT:
      sb->minHeight = std::max(0, (int)wParam);
      return 0;  // takes effect when the bar is next placed (WM_SIZE)
    case SB_SIMPLE: {
      bool simple = wParam != 0;
      if (simple != sb->simple) {
        sb->simple = simple;
        NMHDR hdr{};
        notify(hwnd, SBN_SIMPLEMODECHANGE, &hdr);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    }
    case SB_ISSIMPLE:
      return sb->simple;
    case SB_GETRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out) return FALSE;
      if (sb->simple) {
        *out = simpleRect(hwnd);
        return TRUE;
      }
      if (wParam >= sb->rightEdges.size()) return FALSE;
      *out = partRect(hwnd, *sb, wParam);
      return TRUE;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerStatusBar() { registerControlClass(STATUSCLASSNAMEA, statusBarProc, CS_DBLCLKS, IDC_ARROW, COLOR_BTNFACE + 1); }

}  // namespace win32::comctl

extern "C" HWND WINAPI CreateStatusWindowA(LONG style, LPCSTR lpszText, HWND hwndParent, UINT wID) {
  return CreateWindowExA(0, STATUSCLASSNAMEA, lpszText, (DWORD)style, -100, -100, 10, 10, hwndParent,
                         reinterpret_cast<HMENU>((UINT_PTR)wID), nullptr, nullptr);
}
