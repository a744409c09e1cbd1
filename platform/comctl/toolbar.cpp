// The "ToolbarWindow32" control: a row (or rows) of buttons showing images
// of bitmap strips, with check and check-group buttons, separators, states
// set by TB_* messages, WM_COMMAND to the parent on a click, tool tips asked
// from the parent through TTN_NEEDTEXT, and placement at the parent's top or
// bottom (CCS_*).
#include "commonstate.h"
#include "imagestrip.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace win32::comctl {
namespace {

constexpr SIZE kDefaultBitmap{16, 15};
constexpr SIZE kDefaultButton{24, 22};
constexpr int kImageMargin = 7;      // a button is at least this much larger than its image
constexpr int kTopBorder = 2;        // space above the first row
constexpr int kBottomBorder = 2;
constexpr int kSeparatorWidth = 8;   // a separator whose iBitmap gives no width
constexpr UINT_PTR kHotTimer = 1;
constexpr UINT kHotCheckDelay = 100;  // ms between looks at where the pointer went

struct Button {
  TBBUTTON data{};
  std::string text;  // TBBUTTONINFO text
  RECT rect{};       // laid out; empty when hidden
};

struct Toolbar {
  std::vector<Button> buttons;
  ImageStrips images;
  std::vector<std::string> strings;  // TB_ADDSTRING
  SIZE bitmap = kDefaultBitmap;
  SIZE button = kDefaultButton;
  UINT structSize = 0;  // TB_BUTTONSTRUCTSIZE; 0 until a program says
  HWND tooltips = nullptr;
  bool ownsTooltips = false;
  HWND notifyTarget = nullptr;  // TB_SETPARENT; the parent when null
  int rows = 1;
  int indent = 0;  // pixels before the first button of each row
  DWORD extendedStyle = 0;
  int hot = -1;            // flat tool bars: the button under the mouse, drawn raised
  int pressed = -1;        // index of the button held by the mouse
  bool pressedInside = false;
};

Toolbar* toolbarOf(HWND hwnd) { return stateOf<Toolbar>(hwnd); }
DWORD styleOf(HWND hwnd) { return (DWORD)GetWindowLongA(hwnd, GWL_STYLE); }
bool isSeparator(const Button& b) { return (b.data.fsStyle & TBSTYLE_SEP) != 0; }
bool isHidden(const Button& b) { return (b.data.fsState & TBSTATE_HIDDEN) != 0; }

HWND targetOf(HWND hwnd, const Toolbar& tb) { return tb.notifyTarget ? tb.notifyTarget : reportTarget(hwnd); }

int separatorWidth(const Button& b) { return b.data.iBitmap > 0 ? b.data.iBitmap : kSeparatorWidth; }

int indexOfCommand(const Toolbar& tb, int id) {
  for (size_t i = 0; i < tb.buttons.size(); ++i)
    if (tb.buttons[i].data.idCommand == id) return (int)i;
  return -1;
}

// Tells the tool tip window where each button is; the tool of a button is
// (toolbar, command id), its text asked of the parent (TTN_NEEDTEXT).
void syncTooltips(HWND hwnd, const Toolbar& tb) {
  if (!tb.tooltips || !IsWindow(tb.tooltips)) return;
  for (const Button& b : tb.buttons) {
    if (isSeparator(b)) continue;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd;
    ti.uId = (UINT_PTR)b.data.idCommand;
    ti.rect = b.rect;
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    if (SendMessageA(tb.tooltips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)))
      SendMessageA(tb.tooltips, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
    else
      SendMessageA(tb.tooltips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void removeTool(const Toolbar& tb, HWND hwnd, int id) {
  if (!tb.tooltips || !IsWindow(tb.tooltips)) return;
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = hwnd;
  ti.uId = (UINT_PTR)id;
  SendMessageA(tb.tooltips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

// Places the buttons left to right from the top-left, starting a new row
// after a TBSTATE_WRAP button, and - with TBSTYLE_WRAPABLE - where the next
// button would not fit the window's width.
void layout(HWND hwnd, Toolbar& tb) {
  RECT client{};
  GetClientRect(hwnd, &client);
  bool wrapable = (styleOf(hwnd) & TBSTYLE_WRAPABLE) != 0;
  int x = tb.indent, y = kTopBorder, rows = 1;
  for (size_t i = 0; i < tb.buttons.size(); ++i) {
    Button& b = tb.buttons[i];
    if (isHidden(b)) {
      b.rect = RECT{};
      continue;
    }
    int width = isSeparator(b) ? separatorWidth(b) : tb.button.cx;
    if (wrapable && x > tb.indent && x + width > client.right && !isSeparator(b)) {
      x = tb.indent;
      y += tb.button.cy;
      ++rows;
    }
    b.rect = RECT{x, y, x + width, y + tb.button.cy};
    x += width;
    if ((b.data.fsState & TBSTATE_WRAP) && i + 1 < tb.buttons.size()) {
      x = tb.indent;
      y += tb.button.cy + (isSeparator(b) ? separatorWidth(b) : 0);
      ++rows;
    }
  }
  tb.rows = rows;
  syncTooltips(hwnd, tb);
}

void relayout(HWND hwnd, Toolbar& tb) {
  layout(hwnd, tb);
  InvalidateRect(hwnd, nullptr, TRUE);
}

int naturalHeight(const Toolbar& tb) { return kTopBorder + tb.rows * tb.button.cy + kBottomBorder; }

// Fits the tool bar to its parent's width at the top or the bottom (CCS_*);
// CCS_NORESIZE keeps its size, CCS_NOPARENTALIGN its place.
void autoSize(HWND hwnd, Toolbar& tb) {
  layout(hwnd, tb);
  alignToParent(hwnd, naturalHeight(tb), CCS_TOP);
  layout(hwnd, tb);
}

void paintButton(HDC dc, HWND hwnd, const Toolbar& tb, const Button& b, bool hot) {
  RECT r = b.rect;
  bool flat = (styleOf(hwnd) & TBSTYLE_FLAT) != 0;
  if (isSeparator(b)) {
    if (flat) {
      RECT line{r.left + (r.right - r.left) / 2 - 1, r.top, r.left + (r.right - r.left) / 2 + 1, r.bottom};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
    }
    return;
  }
  BYTE state = b.data.fsState;
  bool down = (state & (TBSTATE_PRESSED | TBSTATE_CHECKED)) != 0;
  bool enabled = (state & TBSTATE_ENABLED) != 0;
  if ((state & TBSTATE_CHECKED) && !(state & TBSTATE_PRESSED)) {
    RECT inside = r;
    InflateRect(&inside, -1, -1);
    FillRect(dc, &inside, GetSysColorBrush(COLOR_3DLIGHT));
  }
  if (down)
    DrawEdge(dc, &r, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!flat)
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT);
  else if (hot && enabled)
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  int x = r.left + (r.right - r.left - tb.bitmap.cx) / 2 + (down ? 1 : 0);
  int y = r.top + (r.bottom - r.top - tb.bitmap.cy) / 2 + (down ? 1 : 0);
  tb.images.draw(dc, b.data.iBitmap, tb.bitmap, x, y, !enabled || (state & TBSTATE_INDETERMINATE));
}

void paint(HWND hwnd, HDC given) {
  Toolbar* tb = toolbarOf(hwnd);
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(hwnd, &ps);
  if (given) {
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  }
  if (tb && !(styleOf(hwnd) & CCS_NODIVIDER)) {
    RECT client{};
    GetClientRect(hwnd, &client);
    DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);  // the divider from the menu bar above
  }
  if (tb)
    for (size_t i = 0; i < tb->buttons.size(); ++i)
      if (!isHidden(tb->buttons[i])) paintButton(dc, hwnd, *tb, tb->buttons[i], (int)i == tb->hot);
  if (!given) EndPaint(hwnd, &ps);
}

int hitTest(const Toolbar& tb, POINT pt) {
  for (size_t i = 0; i < tb.buttons.size(); ++i)
    if (!isHidden(tb.buttons[i]) && PtInRect(&tb.buttons[i].rect, pt)) return (int)i;
  return -1;
}

void invalidateButton(HWND hwnd, const Button& b) { InvalidateRect(hwnd, &b.rect, TRUE); }

void setState(HWND hwnd, Toolbar& tb, int index, BYTE state) {
  Button& b = tb.buttons[(size_t)index];
  bool relayoutNeeded = ((b.data.fsState ^ state) & (TBSTATE_HIDDEN | TBSTATE_WRAP)) != 0;
  b.data.fsState = state;
  if (relayoutNeeded)
    relayout(hwnd, tb);
  else
    invalidateButton(hwnd, b);
}

// The check group of a button: the run of adjacent TBSTYLE_CHECKGROUP
// buttons around it (separators end it).
std::pair<size_t, size_t> groupOf(const Toolbar& tb, size_t index) {
  auto inGroup = [&](size_t i) {
    return (tb.buttons[i].data.fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP;
  };
  size_t first = index, last = index;
  while (first > 0 && inGroup(first - 1)) --first;
  while (last + 1 < tb.buttons.size() && inGroup(last + 1)) ++last;
  return {first, last};
}

void setChecked(HWND hwnd, Toolbar& tb, size_t index, bool checked) {
  Button& b = tb.buttons[index];
  if (checked && (b.data.fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP) {
    auto [first, last] = groupOf(tb, index);
    for (size_t i = first; i <= last; ++i)
      if (i != index && (tb.buttons[i].data.fsState & TBSTATE_CHECKED)) {
        tb.buttons[i].data.fsState &= (BYTE)~TBSTATE_CHECKED;
        invalidateButton(hwnd, tb.buttons[i]);
      }
  }
  BYTE state = checked ? (BYTE)(b.data.fsState | TBSTATE_CHECKED) : (BYTE)(b.data.fsState & ~TBSTATE_CHECKED);
  setState(hwnd, tb, (int)index, state);
}

void sendToolbarNotify(HWND hwnd, const Toolbar& tb, UINT code, int index) {
  NMTOOLBARA nm{};
  if (index >= 0 && (size_t)index < tb.buttons.size()) {
    nm.iItem = tb.buttons[(size_t)index].data.idCommand;
    nm.tbButton = tb.buttons[(size_t)index].data;
    nm.rcButton = tb.buttons[(size_t)index].rect;
  } else {
    nm.iItem = -1;
  }
  notify(hwnd, code, &nm.hdr, targetOf(hwnd, tb));
}

void relayToTooltips(HWND hwnd, const Toolbar& tb, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!tb.tooltips || !IsWindow(tb.tooltips)) return;
  MSG m{hwnd, msg, wParam, lParam, (DWORD)GetMessageTime(), {}};
  DWORD pos = GetMessagePos();
  m.pt = POINT{(short)LOWORD(pos), (short)HIWORD(pos)};
  SendMessageA(tb.tooltips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void onButtonDown(HWND hwnd, Toolbar& tb, POINT pt) {
  int index = hitTest(tb, pt);
  if (index < 0) return;
  Button& b = tb.buttons[(size_t)index];
  if (isSeparator(b) || !(b.data.fsState & TBSTATE_ENABLED)) return;
  tb.pressed = index;
  tb.pressedInside = true;
  SetCapture(hwnd);
  sendToolbarNotify(hwnd, tb, TBN_BEGINDRAG, index);
  setState(hwnd, tb, index, (BYTE)(b.data.fsState | TBSTATE_PRESSED));
}

// Flat tool bars raise the enabled button under the mouse until it leaves.
void setHot(HWND hwnd, Toolbar& tb, int index) {
  if (index >= 0 && (isSeparator(tb.buttons[(size_t)index]) ||
                     !(tb.buttons[(size_t)index].data.fsState & TBSTATE_ENABLED)))
    index = -1;
  if (index == tb.hot) return;
  if (tb.hot >= 0 && (size_t)tb.hot < tb.buttons.size()) invalidateButton(hwnd, tb.buttons[(size_t)tb.hot]);
  tb.hot = index;
  if (index >= 0) {
    invalidateButton(hwnd, tb.buttons[(size_t)index]);
    // Without WM_MOUSELEAVE from the window system, a timer watches the pointer.
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
    if (!TrackMouseEvent(&tme)) SetTimer(hwnd, kHotTimer, kHotCheckDelay, nullptr);
  } else {
    KillTimer(hwnd, kHotTimer);
  }
}

void checkHotStillUnderPointer(HWND hwnd, Toolbar& tb) {
  POINT pt{};
  GetCursorPos(&pt);
  if (WindowFromPoint(pt) != hwnd) {
    setHot(hwnd, tb, -1);
    return;
  }
  ScreenToClient(hwnd, &pt);
  setHot(hwnd, tb, hitTest(tb, pt));
}

void onMouseMove(HWND hwnd, Toolbar& tb, POINT pt) {
  if ((styleOf(hwnd) & TBSTYLE_FLAT) && tb.pressed < 0) setHot(hwnd, tb, hitTest(tb, pt));
  if (tb.pressed < 0 || (size_t)tb.pressed >= tb.buttons.size()) return;
  Button& b = tb.buttons[(size_t)tb.pressed];
  bool inside = PtInRect(&b.rect, pt) != 0;
  if (inside == tb.pressedInside) return;
  tb.pressedInside = inside;
  BYTE state = inside ? (BYTE)(b.data.fsState | TBSTATE_PRESSED) : (BYTE)(b.data.fsState & ~TBSTATE_PRESSED);
  setState(hwnd, tb, tb.pressed, state);
}

// Release: a click when the mouse is still over the pressed button. A check
// button toggles; a check-group button stays checked and unchecks the rest
// of its group. The parent hears TBN_ENDDRAG then WM_COMMAND(id, BN_CLICKED).
void onButtonUp(HWND hwnd, Toolbar& tb) {
  int index = tb.pressed;
  bool clicked = tb.pressedInside;
  tb.pressed = -1;
  tb.pressedInside = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  if (index < 0 || (size_t)index >= tb.buttons.size()) return;
  Button& b = tb.buttons[(size_t)index];
  setState(hwnd, tb, index, (BYTE)(b.data.fsState & ~TBSTATE_PRESSED));
  int id = b.data.idCommand;
  if (clicked) {
    if ((b.data.fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP)
      setChecked(hwnd, tb, (size_t)index, true);
    else if (b.data.fsStyle & TBSTYLE_CHECK)
      setChecked(hwnd, tb, (size_t)index, !(b.data.fsState & TBSTATE_CHECKED));
  }
  sendToolbarNotify(hwnd, tb, TBN_ENDDRAG, index);
  if (clicked) {
    HWND target = targetOf(hwnd, tb);
    if (target) SendMessageA(target, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
  }
}

// TB_ADDBITMAP: a bitmap resource of a module (colours mapped to the
// system's) or, with a null instance, an HBITMAP the caller keeps.
LRESULT addBitmap(Toolbar& tb, int count, const TBADDBITMAP* add) {
  if (!add || count <= 0) return -1;
  if (add->hInst == HINST_COMMCTRL) return -1;  // no standard images are built in
  if (!add->hInst) return tb.images.add(reinterpret_cast<HBITMAP>(add->nID), false, count, nullptr, add->nID);
  HBITMAP mapped = CreateMappedBitmap(add->hInst, (INT_PTR)add->nID, 0, nullptr, 0);
  return tb.images.add(mapped, true, count, add->hInst, add->nID);
}

LRESULT replaceBitmap(HWND hwnd, Toolbar& tb, const TBREPLACEBITMAP* r) {
  if (!r || r->nButtons <= 0) return FALSE;
  HBITMAP bitmap = r->hInstNew ? CreateMappedBitmap(r->hInstNew, (INT_PTR)r->nIDNew, 0, nullptr, 0)
                               : reinterpret_cast<HBITMAP>(r->nIDNew);
  if (!tb.images.replace(r->hInstOld, r->nIDOld, bitmap, r->hInstNew != nullptr, r->nButtons, r->hInstNew, r->nIDNew))
    return FALSE;
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

bool structSizeKnown(Toolbar& tb) {
  if (tb.structSize == 0) tb.structSize = sizeof(TBBUTTON);  // callers that never said use today's size
  return tb.structSize >= offsetof(TBBUTTON, dwData) + sizeof(DWORD_PTR);
}

Button fromTBBUTTON(const TBBUTTON& in) {
  Button b;
  b.data = in;
  return b;
}

LRESULT insertButtons(HWND hwnd, Toolbar& tb, size_t at, const BYTE* records, int count) {
  if (!records || count <= 0 || !structSizeKnown(tb)) return FALSE;
  at = std::min(at, tb.buttons.size());
  for (int i = 0; i < count; ++i) {
    TBBUTTON in{};
    memcpy(&in, records + (size_t)i * tb.structSize, std::min<size_t>(tb.structSize, sizeof in));
    tb.buttons.insert(tb.buttons.begin() + (ptrdiff_t)(at + (size_t)i), fromTBBUTTON(in));
  }
  tb.hot = -1;  // indexes moved
  relayout(hwnd, tb);
  return TRUE;
}

LRESULT deleteButton(HWND hwnd, Toolbar& tb, size_t index) {
  if (index >= tb.buttons.size()) return FALSE;
  sendToolbarNotify(hwnd, tb, TBN_DELETINGBUTTON, (int)index);
  removeTool(tb, hwnd, tb.buttons[index].data.idCommand);
  tb.buttons.erase(tb.buttons.begin() + (ptrdiff_t)index);
  if (tb.pressed == (int)index) tb.pressed = -1;
  tb.hot = -1;
  relayout(hwnd, tb);
  return TRUE;
}

int buttonInfoIndex(const Toolbar& tb, WPARAM wParam, const TBBUTTONINFOA* info) {
  if (info->dwMask & TBIF_BYINDEX) return wParam < tb.buttons.size() ? (int)wParam : -1;
  return indexOfCommand(tb, (int)wParam);
}

LRESULT getButtonInfo(const Toolbar& tb, WPARAM wParam, TBBUTTONINFOA* info) {
  if (!info || info->cbSize < sizeof(TBBUTTONINFOA)) return -1;
  int index = buttonInfoIndex(tb, wParam, info);
  if (index < 0) return -1;
  const Button& b = tb.buttons[(size_t)index];
  if (info->dwMask & TBIF_COMMAND) info->idCommand = b.data.idCommand;
  if (info->dwMask & TBIF_IMAGE) info->iImage = b.data.iBitmap;
  if (info->dwMask & TBIF_STATE) info->fsState = b.data.fsState;
  if (info->dwMask & TBIF_STYLE) info->fsStyle = b.data.fsStyle;
  if (info->dwMask & TBIF_LPARAM) info->lParam = b.data.dwData;
  if (info->dwMask & TBIF_SIZE) info->cx = (WORD)(b.rect.right - b.rect.left);
  if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0)
    lstrcpynA(info->pszText, b.text.c_str(), info->cchText);
  return index;
}

LRESULT setButtonInfo(HWND hwnd, Toolbar& tb, WPARAM wParam, const TBBUTTONINFOA* info) {
  if (!info || info->cbSize < sizeof(TBBUTTONINFOA)) return FALSE;
  int index = buttonInfoIndex(tb, wParam, info);
  if (index < 0) return FALSE;
  Button& b = tb.buttons[(size_t)index];
  if (info->dwMask & TBIF_COMMAND) b.data.idCommand = info->idCommand;
  if (info->dwMask & TBIF_IMAGE) b.data.iBitmap = info->iImage;
  if (info->dwMask & TBIF_STATE) b.data.fsState = info->fsState;
  if (info->dwMask & TBIF_STYLE) b.data.fsStyle = info->fsStyle;
  if (info->dwMask & TBIF_LPARAM) b.data.dwData = info->lParam;
  if ((info->dwMask & TBIF_SIZE) && isSeparator(b)) b.data.iBitmap = info->cx;
  if ((info->dwMask & TBIF_TEXT) && info->pszText && info->pszText != LPSTR_TEXTCALLBACKA) b.text = info->pszText;
  relayout(hwnd, tb);
  return TRUE;
}

// TB_ADDSTRING from memory: one or more strings ending with an empty one.
LRESULT addStrings(HINSTANCE instance, Toolbar& tb, LPARAM lParam) {
  int first = (int)tb.strings.size();
  if (instance) {
    char text[512];
    int n = LoadStringA(instance, (UINT)lParam, text, sizeof text);
    if (n <= 0) return -1;
    // A string resource lists several strings separated by its first character.
    char separator = text[n - 1];
    std::string all(text, (size_t)n);
    size_t start = 0;
    for (size_t pos; (pos = all.find(separator, start)) != std::string::npos; start = pos + 1)
      tb.strings.push_back(all.substr(start, pos - start));
    return first;
  }
  const char* p = reinterpret_cast<const char*>(lParam);
  if (!p) return -1;
  while (*p) {
    tb.strings.emplace_back(p);
    p += strlen(p) + 1;
  }
  return first;
}

bool createOwnTooltips(HWND hwnd, Toolbar& tb) {
  tb.tooltips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr, nullptr, nullptr);
  tb.ownsTooltips = tb.tooltips != nullptr;
  return tb.ownsTooltips;
}

// Button-state messages that take a command id and a flag in lParam's low
// word: which state bit they set or clear.
struct StateMessage {
  UINT msg;
  BYTE bit;
  bool setWhenTrue;  // else the bit is set when lParam is FALSE (enable)
};
constexpr StateMessage kStateMessages[] = {
    {TB_ENABLEBUTTON, TBSTATE_ENABLED, true},   {TB_PRESSBUTTON, TBSTATE_PRESSED, true},
    {TB_HIDEBUTTON, TBSTATE_HIDDEN, true},      {TB_INDETERMINATE, TBSTATE_INDETERMINATE, true},
    {TB_MARKBUTTON, TBSTATE_MARKED, true},
};
struct StateQuery {
  UINT msg;
  BYTE bit;
};
constexpr StateQuery kStateQueries[] = {
    {TB_ISBUTTONENABLED, TBSTATE_ENABLED},  {TB_ISBUTTONCHECKED, TBSTATE_CHECKED},
    {TB_ISBUTTONPRESSED, TBSTATE_PRESSED},  {TB_ISBUTTONHIDDEN, TBSTATE_HIDDEN},
    {TB_ISBUTTONINDETERMINATE, TBSTATE_INDETERMINATE},
};

LRESULT CALLBACK toolbarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Toolbar* tb = toolbarOf(hwnd);
  if (msg == WM_NCCREATE) {
    attachState<Toolbar>(hwnd);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!tb) return DefWindowProcA(hwnd, msg, wParam, lParam);

  for (const StateMessage& m : kStateMessages)
    if (msg == m.msg) {
      int index = indexOfCommand(*tb, (int)wParam);
      if (index < 0) return FALSE;
      BYTE state = tb->buttons[(size_t)index].data.fsState;
      state = LOWORD(lParam) ? (BYTE)(state | m.bit) : (BYTE)(state & ~m.bit);
      setState(hwnd, *tb, index, state);
      return TRUE;
    }
  for (const StateQuery& q : kStateQueries)
    if (msg == q.msg) {
      int index = indexOfCommand(*tb, (int)wParam);
      if (index < 0) return -1;
      return (tb->buttons[(size_t)index].data.fsState & q.bit) ? TRUE : FALSE;
    }

  switch (msg) {
    case WM_CREATE:
      if (styleOf(hwnd) & TBSTYLE_TOOLTIPS) createOwnTooltips(hwnd, *tb);
      layout(hwnd, *tb);
      return 0;
    case WM_NCDESTROY:
      if (tb->ownsTooltips && IsWindow(tb->tooltips)) DestroyWindow(tb->tooltips);
      detachState<Toolbar>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      layout(hwnd, *tb);
      return 0;
    case WM_PAINT:
      paint(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      relayToTooltips(hwnd, *tb, msg, wParam, lParam);
      onMouseMove(hwnd, *tb, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      relayToTooltips(hwnd, *tb, msg, wParam, lParam);
      onButtonDown(hwnd, *tb, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
      return 0;
    case WM_LBUTTONUP:
      relayToTooltips(hwnd, *tb, msg, wParam, lParam);
      onButtonUp(hwnd, *tb);
      return 0;
    case WM_MOUSELEAVE:
      setHot(hwnd, *tb, -1);
      return 0;
    case WM_TIMER:
      if (wParam == kHotTimer) checkHotStillUnderPointer(hwnd, *tb);
      return 0;
    case TB_GETHOTITEM:
      return tb->hot;
    case TB_SETHOTITEM: {
      int old = tb->hot;
      setHot(hwnd, *tb, (int)wParam >= 0 && wParam < tb->buttons.size() ? (int)wParam : -1);
      return old;
    }
    case WM_CAPTURECHANGED:
      if (tb->pressed >= 0 && (HWND)lParam != hwnd) {
        int index = tb->pressed;
        tb->pressed = -1;
        if ((size_t)index < tb->buttons.size())
          setState(hwnd, *tb, index, (BYTE)(tb->buttons[(size_t)index].data.fsState & ~TBSTATE_PRESSED));
      }
      return 0;
    case WM_NOTIFY: {
      // The tool tips ask the tool bar for a button's text: the parent answers.
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->hwndFrom == tb->tooltips) {
        HWND target = targetOf(hwnd, *tb);
        return target ? SendMessageA(target, WM_NOTIFY, wParam, lParam) : 0;
      }
      return 0;
    }

    case TB_BUTTONSTRUCTSIZE:
      tb->structSize = (UINT)wParam;
      return 0;
    case TB_ADDBITMAP:
      return addBitmap(*tb, (int)wParam, reinterpret_cast<const TBADDBITMAP*>(lParam));
    case TB_ADDBUTTONSA:
      return insertButtons(hwnd, *tb, tb->buttons.size(), reinterpret_cast<const BYTE*>(lParam), (int)wParam);
    case TB_INSERTBUTTONA: {
      size_t at = (int)wParam < 0 ? tb->buttons.size() : (size_t)wParam;
      return insertButtons(hwnd, *tb, at, reinterpret_cast<const BYTE*>(lParam), 1);
    }
    case TB_DELETEBUTTON:
      return deleteButton(hwnd, *tb, (size_t)wParam);
    case TB_BUTTONCOUNT:
      return (LRESULT)tb->buttons.size();
    case TB_GETBUTTON: {
      auto* out = reinterpret_cast<TBBUTTON*>(lParam);
      if (!out || wParam >= tb->buttons.size()) return FALSE;
      *out = tb->buttons[wParam].data;
      return TRUE;
    }
    case TB_COMMANDTOINDEX:
      return indexOfCommand(*tb, (int)wParam);
    case TB_GETITEMRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out || wParam >= tb->buttons.size() || isHidden(tb->buttons[wParam])) return FALSE;
      *out = tb->buttons[wParam].rect;
      return TRUE;
    }
    case TB_GETRECT: {
      int index = indexOfCommand(*tb, (int)wParam);
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out || index < 0 || isHidden(tb->buttons[(size_t)index])) return FALSE;
      *out = tb->buttons[(size_t)index].rect;
      return TRUE;
    }
    case TB_SETSTATE: {
      int index = indexOfCommand(*tb, (int)wParam);
      if (index < 0) return FALSE;
      setState(hwnd, *tb, index, (BYTE)LOWORD(lParam));
      return TRUE;
    }
    case TB_GETSTATE: {
      int index = indexOfCommand(*tb, (int)wParam);
      return index < 0 ? -1 : tb->buttons[(size_t)index].data.fsState;
    }
    case TB_CHECKBUTTON: {
      int index = indexOfCommand(*tb, (int)wParam);
      if (index < 0) return FALSE;
      setChecked(hwnd, *tb, (size_t)index, LOWORD(lParam) != 0);
      return TRUE;
    }
    case TB_SETCMDID:
      if (wParam >= tb->buttons.size()) return FALSE;
      tb->buttons[wParam].data.idCommand = (int)lParam;
      syncTooltips(hwnd, *tb);
      return TRUE;
    case TB_SETBUTTONSIZE: {
      int cx = LOWORD(lParam), cy = HIWORD(lParam);
      if (cx <= 0 || cy <= 0) return FALSE;
      tb->button = SIZE{cx, cy};
      relayout(hwnd, *tb);
      return TRUE;
    }
    case TB_GETBUTTONSIZE:
      return MAKELONG(tb->button.cx, tb->button.cy);
    case TB_SETBITMAPSIZE: {
      int cx = LOWORD(lParam), cy = HIWORD(lParam);
      if (cx <= 0 || cy <= 0) return FALSE;
      tb->bitmap = SIZE{cx, cy};
      tb->button.cx = std::max<LONG>(tb->button.cx, cx + kImageMargin);
      tb->button.cy = std::max<LONG>(tb->button.cy, cy + kImageMargin);
      relayout(hwnd, *tb);
      return TRUE;
    }
    case TB_AUTOSIZE:
      autoSize(hwnd, *tb);
      return 0;
    case TB_GETBUTTONINFOA:
      return getButtonInfo(*tb, wParam, reinterpret_cast<TBBUTTONINFOA*>(lParam));
    case TB_SETBUTTONINFOA:
      return setButtonInfo(hwnd, *tb, wParam, reinterpret_cast<const TBBUTTONINFOA*>(lParam));
    case TB_ADDSTRINGA:
      return addStrings(reinterpret_cast<HINSTANCE>(wParam), *tb, lParam);
    case TB_SETSTYLE:
      SetWindowLongA(hwnd, GWL_STYLE, (LONG)lParam);
      relayout(hwnd, *tb);
      return 0;
    case TB_GETSTYLE:
      return styleOf(hwnd);
    case TB_SETTOOLTIPS:
      if (tb->ownsTooltips && tb->tooltips != (HWND)wParam && IsWindow(tb->tooltips)) DestroyWindow(tb->tooltips);
      tb->tooltips = (HWND)wParam;
      tb->ownsTooltips = false;
      syncTooltips(hwnd, *tb);
      return 0;
    case TB_GETTOOLTIPS:
      return reinterpret_cast<LRESULT>(tb->tooltips);
    case TB_SETPARENT: {
      HWND old = targetOf(hwnd, *tb);
      tb->notifyTarget = (HWND)wParam;
      return reinterpret_cast<LRESULT>(old);
    }
    case TB_SETROWS: {
      // Wraps the buttons into the asked number of rows as evenly as the
      // button count allows (more rows when TRUE in the high word says so).
      int wanted = std::max(1, (int)LOWORD(wParam));
      std::vector<size_t> visible;
      for (size_t i = 0; i < tb->buttons.size(); ++i) {
        tb->buttons[i].data.fsState &= (BYTE)~TBSTATE_WRAP;
        if (!isHidden(tb->buttons[i])) visible.push_back(i);
      }
      size_t perRow = visible.empty() ? 1 : (visible.size() + (size_t)wanted - 1) / (size_t)wanted;
      for (size_t k = perRow; k < visible.size(); k += perRow) tb->buttons[visible[k - 1]].data.fsState |= TBSTATE_WRAP;
      relayout(hwnd, *tb);
      if (auto* out = reinterpret_cast<RECT*>(lParam)) {
        *out = RECT{};
        for (const Button& b : tb->buttons) UnionRect(out, out, &b.rect);
      }
      return 0;
    }
    case TB_GETROWS:
      return tb->rows;
    case TB_REPLACEBITMAP:
      return replaceBitmap(hwnd, *tb, reinterpret_cast<const TBREPLACEBITMAP*>(lParam));
    case TB_CHANGEBITMAP: {
      int index = indexOfCommand(*tb, (int)wParam);
      if (index < 0) return FALSE;
      tb->buttons[(size_t)index].data.iBitmap = (int)lParam;
      invalidateButton(hwnd, tb->buttons[(size_t)index]);
      return TRUE;
    }
    case TB_GETBITMAP: {
      int index = indexOfCommand(*tb, (int)wParam);
      return index < 0 ? -1 : tb->buttons[(size_t)index].data.iBitmap;
    }
    case TB_GETBUTTONTEXTA: {
      // The button's text (TBBUTTONINFO) or its string (iString); its length.
      int index = indexOfCommand(*tb, (int)wParam);
      if (index < 0) return -1;
      const Button& b = tb->buttons[(size_t)index];
      std::string text = b.text;
      if (text.empty() && b.data.iString >= 0 && (size_t)b.data.iString < tb->strings.size())
        text = tb->strings[(size_t)b.data.iString];
      if (auto* out = reinterpret_cast<char*>(lParam)) memcpy(out, text.c_str(), text.size() + 1);
      return (LRESULT)text.size();
    }
    case TB_SETINDENT:
      tb->indent = std::max(0, (int)wParam);
      relayout(hwnd, *tb);
      return TRUE;
    case TB_SETEXTENDEDSTYLE: {
      DWORD old = tb->extendedStyle;
      tb->extendedStyle = (DWORD)lParam;
      return old;
    }
    case TB_GETEXTENDEDSTYLE:
      return tb->extendedStyle;
    case TB_HITTEST: {
      auto* pt = reinterpret_cast<POINT*>(lParam);
      if (!pt) return -1;
      int index = hitTest(*tb, *pt);
      if (index >= 0 && isSeparator(tb->buttons[(size_t)index])) return -index - 1;
      return index;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerToolbar() { registerControlClass(TOOLBARCLASSNAMEA, toolbarProc, CS_DBLCLKS, IDC_ARROW, COLOR_BTNFACE + 1); }

}  // namespace win32::comctl

extern "C" HWND WINAPI CreateToolbarEx(HWND hwnd, DWORD ws, UINT wID, int nBitmaps, HINSTANCE hBMInst, UINT_PTR wBMID,
                                       LPCTBBUTTON lpButtons, int iNumButtons, int dxButton, int dyButton,
                                       int dxBitmap, int dyBitmap, UINT uStructSize) {
  HWND tb = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, ws | WS_CHILD, 0, 0, 100, 30, hwnd,
                            reinterpret_cast<HMENU>((UINT_PTR)wID), nullptr, nullptr);
  if (!tb) return nullptr;
  SendMessageA(tb, TB_BUTTONSTRUCTSIZE, uStructSize, 0);
  if (dxBitmap > 0 && dyBitmap > 0) SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELONG(dxBitmap, dyBitmap));
  if (dxButton > 0 && dyButton > 0) SendMessageA(tb, TB_SETBUTTONSIZE, 0, MAKELONG(dxButton, dyButton));
  if (nBitmaps > 0) {
    TBADDBITMAP add{hBMInst, wBMID};
    SendMessageA(tb, TB_ADDBITMAP, (WPARAM)nBitmaps, reinterpret_cast<LPARAM>(&add));
  }
  if (lpButtons && iNumButtons > 0)
    SendMessageA(tb, TB_ADDBUTTONSA, (WPARAM)iNumButtons, reinterpret_cast<LPARAM>(lpButtons));
  SendMessageA(tb, TB_AUTOSIZE, 0, 0);
  return tb;
}
