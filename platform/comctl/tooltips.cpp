// The "tooltips_class32" control: a list of tools (a window, or a rectangle
// of one), mouse messages relayed to it (TTM_RELAYEVENT or TTF_SUBCLASS),
// and a small popup showing the tool's text once the mouse has rested on
// it for the initial delay, hidden again after the auto-pop delay, on a
// click or when the mouse leaves the tool. Text given as LPSTR_TEXTCALLBACK
// is asked of the tool's window with TTN_GETDISPINFO each time the tip shows.
#include "commonstate.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace win32::comctl {
namespace {

enum TimerId : UINT_PTR { kInitialTimer = 1, kAutoPopTimer = 2 };
constexpr int kMargin = 3;         // text to the tip's border, pixels
constexpr int kCursorHeight = 20;  // the tip shows this far below the pointer

struct Tool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  HINSTANCE instance = nullptr;
  bool callback = false;   // LPSTR_TEXTCALLBACK
  UINT stringId = 0;       // a string resource of `instance` when not zero
  std::string text;
  LPARAM lParam = 0;
};

struct ToolTips {
  std::vector<Tool> tools;
  bool active = true;
  int initialDelay = 0;  // milliseconds; set from the double-click time at creation
  int autoPopDelay = 0;
  int reshowDelay = 0;
  int maxWidth = -1;
  int current = -1;        // the tool under the mouse
  bool shown = false;
  bool suppressed = false;  // clicked: no tip until the mouse reaches another tool
  POINT lastPoint{};        // screen coordinates of the last relayed mouse message
  std::string shownText;
};

ToolTips* tipsOf(HWND hwnd) { return stateOf<ToolTips>(hwnd); }

void setDefaultDelays(ToolTips& tt, int initial) {
  tt.initialDelay = initial;
  tt.autoPopDelay = initial * 10;
  tt.reshowDelay = initial / 5;
}

// The tool a TOOLINFO names: (window, id) - the id being the tool window
// itself for TTF_IDISHWND.
int findTool(const ToolTips& tt, const TOOLINFOA* ti) {
  if (!ti) return -1;
  for (size_t i = 0; i < tt.tools.size(); ++i)
    if (tt.tools[i].hwnd == ti->hwnd && tt.tools[i].id == ti->uId) return (int)i;
  return -1;
}

bool validInfo(const TOOLINFOA* ti) { return ti && ti->cbSize >= TTTOOLINFOA_V1_SIZE; }

void storeText(Tool& tool, HINSTANCE instance, LPSTR text) {
  tool.callback = text == LPSTR_TEXTCALLBACKA;
  tool.stringId = 0;
  tool.text.clear();
  tool.instance = instance;
  if (tool.callback || !text) return;
  if (IS_INTRESOURCE(text)) {
    tool.stringId = (UINT)(UINT_PTR)text;
    return;
  }
  tool.text = text;
}

std::string loadString(HINSTANCE instance, UINT id) {
  char buffer[1024];
  int n = LoadStringA(instance, id, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, (size_t)n) : std::string();
}

void fillInfo(const Tool& tool, TOOLINFOA* ti) {
  ti->uFlags = tool.flags;
  ti->hwnd = tool.hwnd;
  ti->uId = tool.id;
  ti->rect = tool.rect;
  ti->hinst = tool.instance;
  if (ti->cbSize > TTTOOLINFOA_V1_SIZE) ti->lParam = tool.lParam;
  // The text pointer is the caller's buffer (TTM_GETTEXT) or left as it is.
}

// Subclassed tool windows (TTF_SUBCLASS): their own procedure and the tip
// windows that watch them. Per process, as window procedures are.
struct Subclass {
  WNDPROC original = nullptr;
  std::vector<HWND> watchers;
};
std::mutex subclassLock;
std::map<HWND, Subclass>& subclasses() {
  static std::map<HWND, Subclass> table;
  return table;
}

bool isMouseMessage(UINT msg) {
  return msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_RBUTTONDOWN ||
         msg == WM_RBUTTONUP || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_LBUTTONDBLCLK;
}

LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = nullptr;
  std::vector<HWND> watchers;
  {
    std::lock_guard<std::mutex> guard(subclassLock);
    auto it = subclasses().find(hwnd);
    if (it == subclasses().end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    original = it->second.original;
    watchers = it->second.watchers;
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      subclasses().erase(it);
    }
  }
  if (isMouseMessage(msg)) {
    POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ClientToScreen(hwnd, &pt);
    MSG m{hwnd, msg, wParam, lParam, (DWORD)GetMessageTime(), pt};
    for (HWND tip : watchers)
      if (IsWindow(tip)) SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  }
  return CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

// The window whose mouse messages show `tool`.
HWND watchedWindow(const Tool& tool) { return (tool.flags & TTF_IDISHWND) ? (HWND)tool.id : tool.hwnd; }

void subclass(HWND tip, const Tool& tool) {
  HWND target = watchedWindow(tool);
  if (!IsWindow(target)) return;
  std::lock_guard<std::mutex> guard(subclassLock);
  auto [it, made] = subclasses().try_emplace(target);
  if (made)
    it->second.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc)));
  if (std::find(it->second.watchers.begin(), it->second.watchers.end(), tip) == it->second.watchers.end())
    it->second.watchers.push_back(tip);
}

void unsubscribe(HWND tip) {
  std::lock_guard<std::mutex> guard(subclassLock);
  for (auto& [hwnd, sc] : subclasses()) std::erase(sc.watchers, tip);
}

// The tool at a point of `window` (client coordinates): a TTF_IDISHWND tool
// is the whole window, another tool its rectangle of its window.
int hitTool(const ToolTips& tt, HWND window, POINT pt) {
  for (size_t i = 0; i < tt.tools.size(); ++i) {
    const Tool& t = tt.tools[i];
    if (t.flags & TTF_IDISHWND) {
      if ((HWND)t.id == window) return (int)i;
    } else if (t.hwnd == window && PtInRect(&t.rect, pt)) {
      return (int)i;
    }
  }
  return -1;
}

// The text to show: asked of the tool's window for a callback tool (the
// answer may be a string, a buffer in the record, or a resource id), kept
// by the tool when the answer carries TTF_DI_SETITEM.
std::string textOf(HWND hwnd, Tool& tool) {
  if (tool.stringId) return loadString(tool.instance, tool.stringId);
  if (!tool.callback) return tool.text;
  NMTTDISPINFOA info{};
  info.hinst = nullptr;
  info.uFlags = tool.flags;
  info.lParam = tool.lParam;
  info.lpszText = info.szText;
  NMHDR& hdr = info.hdr;
  hdr.hwndFrom = hwnd;
  hdr.idFrom = tool.id;
  hdr.code = TTN_GETDISPINFOA;
  if (IsWindow(tool.hwnd)) SendMessageA(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&info));
  std::string text;
  if (info.hinst && IS_INTRESOURCE(info.lpszText))
    text = loadString(info.hinst, (UINT)(UINT_PTR)info.lpszText);
  else if (info.lpszText == info.szText)
    text.assign(info.szText, strnlen(info.szText, sizeof info.szText));
  else if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(info.lpszText))
    text = info.lpszText;
  if (info.uFlags & TTF_DI_SETITEM) {
    tool.callback = false;
    tool.text = text;
  }
  return text;
}

LRESULT sendToolNotify(HWND hwnd, const Tool& tool, UINT code) {
  NMHDR hdr{hwnd, tool.id, code};
  if (!IsWindow(tool.hwnd)) return 0;
  return SendMessageA(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&hdr));
}

HFONT tipFont() { return (HFONT)GetStockObject(DEFAULT_GUI_FONT); }

UINT textFormat(const ToolTips& tt, HWND hwnd) {
  UINT format = DT_LEFT | DT_EXPANDTABS;
  if (GetWindowLongA(hwnd, GWL_STYLE) & TTS_NOPREFIX) format |= DT_NOPREFIX;
  format |= tt.maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE;
  return format;
}

SIZE tipSize(HWND hwnd, const ToolTips& tt, const std::string& text) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, tipFont());
  RECT r{0, 0, tt.maxWidth > 0 ? tt.maxWidth : 0, 0};
  DrawTextA(dc, text.c_str(), (int)text.size(), &r, textFormat(tt, hwnd) | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return SIZE{r.right - r.left + 2 * kMargin + 2, r.bottom - r.top + 2 * kMargin + 2};
}

void pop(HWND hwnd, ToolTips& tt) {
  KillTimer(hwnd, kAutoPopTimer);
  if (!tt.shown) return;
  tt.shown = false;
  ShowWindow(hwnd, SW_HIDE);
  if (tt.current >= 0 && (size_t)tt.current < tt.tools.size()) sendToolNotify(hwnd, tt.tools[(size_t)tt.current], TTN_POP);
}

void show(HWND hwnd, ToolTips& tt) {
  KillTimer(hwnd, kInitialTimer);
  if (!tt.active || tt.current < 0 || (size_t)tt.current >= tt.tools.size()) return;
  Tool& tool = tt.tools[(size_t)tt.current];
  std::string text = textOf(hwnd, tool);
  if (text.empty()) return;  // a tool without text shows no tip
  tt.shownText = text;
  SetWindowTextA(hwnd, text.c_str());
  SIZE size = tipSize(hwnd, tt, text);
  POINT at{tt.lastPoint.x, tt.lastPoint.y + kCursorHeight};
  if (tool.flags & TTF_CENTERTIP) {
    RECT r = tool.rect;
    if (tool.flags & TTF_IDISHWND) GetClientRect(watchedWindow(tool), &r);
    MapWindowPoints(watchedWindow(tool), nullptr, reinterpret_cast<POINT*>(&r), 2);
    at = POINT{(r.left + r.right - size.cx) / 2, r.bottom + 2};
  }
  SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
  // A receiver that answers TTN_SHOW non-zero has placed the tip itself.
  sendToolNotify(hwnd, tool, TTN_SHOW);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  tt.shown = true;
  InvalidateRect(hwnd, nullptr, TRUE);
  if (tt.autoPopDelay > 0) SetTimer(hwnd, kAutoPopTimer, (UINT)tt.autoPopDelay, nullptr);
}

void relay(HWND hwnd, ToolTips& tt, const MSG* m) {
  if (!m || !isMouseMessage(m->message)) return;
  tt.lastPoint = m->pt;
  if (m->message != WM_MOUSEMOVE) {  // a click hides the tip until the mouse moves on
    pop(hwnd, tt);
    KillTimer(hwnd, kInitialTimer);
    tt.suppressed = true;
    return;
  }
  POINT pt{(short)LOWORD(m->lParam), (short)HIWORD(m->lParam)};
  int hit = hitTool(tt, m->hwnd, pt);
  if (hit == tt.current) return;  // still on the same tool (or still on none)
  bool wasShown = tt.shown;
  pop(hwnd, tt);
  KillTimer(hwnd, kInitialTimer);
  tt.current = hit;
  tt.suppressed = false;
  if (hit < 0 || !tt.active) return;
  int delay = wasShown ? tt.reshowDelay : tt.initialDelay;
  SetTimer(hwnd, kInitialTimer, (UINT)std::max(delay, 1), nullptr);
}

void paint(HWND hwnd, const ToolTips& tt, HDC given) {
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(hwnd, &ps);
  RECT r{};
  GetClientRect(hwnd, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
  FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
  HGDIOBJ old = SelectObject(dc, tipFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  InflateRect(&r, -(kMargin + 1), -(kMargin + 1));
  DrawTextA(dc, tt.shownText.c_str(), (int)tt.shownText.size(), &r, textFormat(tt, hwnd));
  SelectObject(dc, old);
  if (!given) EndPaint(hwnd, &ps);
}

LRESULT addTool(HWND hwnd, ToolTips& tt, const TOOLINFOA* ti) {
  if (!validInfo(ti)) return FALSE;
  Tool tool;
  tool.flags = ti->uFlags;
  tool.hwnd = ti->hwnd;
  tool.id = ti->uId;
  tool.rect = ti->rect;
  tool.lParam = ti->cbSize > TTTOOLINFOA_V1_SIZE ? ti->lParam : 0;
  storeText(tool, ti->hinst, ti->lpszText);
  int existing = findTool(tt, ti);
  if (existing >= 0)
    tt.tools[(size_t)existing] = tool;
  else
    tt.tools.push_back(tool);
  if (tool.flags & TTF_SUBCLASS) subclass(hwnd, tool);
  return TRUE;
}

LRESULT delTool(HWND hwnd, ToolTips& tt, const TOOLINFOA* ti) {
  int index = findTool(tt, ti);
  if (index < 0) return 0;
  if (index == tt.current) {
    pop(hwnd, tt);
    KillTimer(hwnd, kInitialTimer);
    tt.current = -1;
  } else if (index < tt.current) {
    --tt.current;
  }
  tt.tools.erase(tt.tools.begin() + index);
  return 0;
}

void setDelay(ToolTips& tt, WPARAM which, LPARAM lParam) {
  int ms = (short)LOWORD(lParam);
  bool reset = ms < 0;
  int defaultInitial = (int)GetDoubleClickTime();
  switch (which) {
    case TTDT_AUTOMATIC: setDefaultDelays(tt, reset ? defaultInitial : ms); break;
    case TTDT_INITIAL: tt.initialDelay = reset ? defaultInitial : ms; break;
    case TTDT_AUTOPOP: tt.autoPopDelay = reset ? defaultInitial * 10 : ms; break;
    case TTDT_RESHOW: tt.reshowDelay = reset ? defaultInitial / 5 : ms; break;
    default: break;
  }
}

LRESULT CALLBACK toolTipsProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ToolTips* tt = tipsOf(hwnd);
  if (msg == WM_NCCREATE) {
    setDefaultDelays(*attachState<ToolTips>(hwnd), (int)GetDoubleClickTime());
    // A tip is a bordered popup whatever the creator asked for.
    SetWindowLongA(hwnd, GWL_STYLE, (GetWindowLongA(hwnd, GWL_STYLE) & ~(WS_CHILD | WS_CAPTION | WS_THICKFRAME)) | WS_POPUP);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!tt) return DefWindowProcA(hwnd, msg, wParam, lParam);
  auto* ti = reinterpret_cast<TOOLINFOA*>(lParam);
  switch (msg) {
    case WM_NCDESTROY:
      unsubscribe(hwnd);
      detachState<ToolTips>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_PAINT:
      paint(hwnd, *tt, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the tip never takes the mouse from the tool
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_TIMER:
      if (wParam == kInitialTimer) {
        if (!tt->suppressed) show(hwnd, *tt);
        KillTimer(hwnd, kInitialTimer);
      } else if (wParam == kAutoPopTimer) {
        pop(hwnd, *tt);
      }
      return 0;

    case TTM_ACTIVATE:
      tt->active = wParam != 0;
      if (!tt->active) {
        pop(hwnd, *tt);
        KillTimer(hwnd, kInitialTimer);
      }
      return 0;
    case TTM_ADDTOOLA:
      return addTool(hwnd, *tt, ti);
    case TTM_DELTOOLA:
      return delTool(hwnd, *tt, ti);
    case TTM_RELAYEVENT:
      relay(hwnd, *tt, reinterpret_cast<const MSG*>(lParam));
      return 0;
    case TTM_NEWTOOLRECTA: {
      int index = findTool(*tt, ti);
      if (index >= 0) tt->tools[(size_t)index].rect = ti->rect;
      return 0;
    }
    case TTM_UPDATETIPTEXTA: {
      int index = findTool(*tt, ti);
      if (index < 0) return 0;
      storeText(tt->tools[(size_t)index], ti->hinst, ti->lpszText);
      if (tt->shown && index == tt->current) show(hwnd, *tt);
      return 0;
    }
    case TTM_GETTOOLINFOA: {
      int index = validInfo(ti) ? findTool(*tt, ti) : -1;
      if (index < 0) return FALSE;
      fillInfo(tt->tools[(size_t)index], ti);
      return TRUE;
    }
    case TTM_SETTOOLINFOA: {
      int index = validInfo(ti) ? findTool(*tt, ti) : -1;
      if (index >= 0) addTool(hwnd, *tt, ti);
      return 0;
    }
    case TTM_GETTEXTA: {
      // wParam: the buffer's size in characters (0 from old callers, who
      // promise 80, the size of the dispinfo buffer).
      int index = findTool(*tt, ti);
      if (!ti || !ti->lpszText || IS_INTRESOURCE(ti->lpszText) || ti->lpszText == LPSTR_TEXTCALLBACKA) return 0;
      int size = wParam ? (int)wParam : 80;
      if (index < 0) {
        ti->lpszText[0] = '\0';
        return 0;
      }
      const Tool& tool = tt->tools[(size_t)index];
      std::string text = tool.stringId ? loadString(tool.instance, tool.stringId) : tool.text;
      lstrcpynA(ti->lpszText, text.c_str(), size);
      return (LRESULT)std::min<size_t>(text.size(), (size_t)size - 1);
    }
    case TTM_HITTESTA: {
      auto* hit = reinterpret_cast<TTHITTESTINFOA*>(lParam);
      if (!hit) return FALSE;
      int index = hitTool(*tt, hit->hwnd, hit->pt);
      if (index < 0) return FALSE;
      hit->ti.cbSize = sizeof(TOOLINFOA);
      fillInfo(tt->tools[(size_t)index], &hit->ti);
      return TRUE;
    }
    case TTM_ENUMTOOLSA:
      if (!validInfo(ti) || wParam >= tt->tools.size()) return FALSE;
      fillInfo(tt->tools[wParam], ti);
      return TRUE;
    case TTM_GETCURRENTTOOLA:
      if (tt->current < 0 || !tt->shown) return FALSE;
      if (validInfo(ti)) fillInfo(tt->tools[(size_t)tt->current], ti);
      return TRUE;
    case TTM_GETTOOLCOUNT:
      return (LRESULT)tt->tools.size();
    case TTM_SETDELAYTIME:
      setDelay(*tt, wParam, lParam);
      return 0;
    case TTM_GETDELAYTIME:
      switch (wParam) {
        case TTDT_INITIAL: return tt->initialDelay;
        case TTDT_AUTOPOP: return tt->autoPopDelay;
        case TTDT_RESHOW: return tt->reshowDelay;
        default: return 0;
      }
    case TTM_SETMAXTIPWIDTH: {
      int old = tt->maxWidth;
      tt->maxWidth = (int)lParam;
      return old;
    }
    case TTM_GETMAXTIPWIDTH:
      return tt->maxWidth;
    case TTM_POP:
      pop(hwnd, *tt);
      return 0;
    case TTM_UPDATE:
      if (tt->shown) show(hwnd, *tt);
      return 0;
    case TTM_WINDOWFROMPOINT: {
      auto* pt = reinterpret_cast<const POINT*>(lParam);
      return pt ? reinterpret_cast<LRESULT>(WindowFromPoint(*pt)) : 0;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerToolTips() { registerControlClass(TOOLTIPS_CLASSA, toolTipsProc, CS_SAVEBITS, IDC_ARROW, 0); }

}  // namespace win32::comctl
