// The native button: creation from the caption conventions, its private
// messages, click and check notifications, the sound, and the owner-drawn
// face.
#include "button.h"

#include <mmsystem.h>

#include <cctype>
#include <cstring>

#include "drawing.h"
#include "imagecache.h"
#include "markup.h"
#include "natmessages.h"

namespace {

constexpr COLORREF kButtonText = 0x80000000u | COLOR_BTNTEXT;
constexpr COLORREF kButtonFace = 0x80000000u | COLOR_BTNFACE;
constexpr DWORD kAlignmentBits = 0xF00;

// Notification codes of the button (WM_COMMAND high word).
constexpr int kClicked = 0x300;
constexpr int kCheckChanged = 0x400;

// The check state of the radio button or check box that last got the focus.
int& rememberedCheck() {
  static int state = 0;
  return state;
}

bool endsWithIco(const std::string& name) {
  return name.size() >= 3 && lstrcmpiA(name.c_str() + name.size() - 3, "ICO") == 0;
}

bool isRadioOrCheck(DWORD style) {
  const DWORD type = style & 0xF;
  return type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX || type == BS_3STATE;
}

}  // namespace

DWORD AlignmentStyle(int code) {
  static constexpr DWORD kVertical[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
  static constexpr DWORD kHorizontal[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
  if (code < 0 || code > 8) code = 4;
  return kVertical[code / 3] | kHorizontal[code % 3];
}

int AlignmentCode(DWORD style) {
  // The centre patterns hold both single bits: they are tested first.
  const DWORD vertical = style & BS_VCENTER, horizontal = style & BS_CENTER;
  const int v = vertical == BS_VCENTER ? 1 : vertical == BS_BOTTOM ? 2 : 0;
  const int h = horizontal == BS_CENTER ? 1 : horizontal == BS_RIGHT ? 2 : 0;
  return 3 * v + h;
}

void SplitCaptionTokens(const char* text, std::string* caption, std::string* picture, std::string* second) {
  std::string* tokens[] = {caption, picture, second};
  int token = 0;
  bool cut = false;  // past a ':' of a picture token
  for (const char* p = text ? text : ""; *p && token < 3; ++p) {
    char c = *p;
    if (c == '\\' && p[1]) c = *++p;
    else if (c == '^') c = '\n';
    else if (c == ';') {
      ++token;
      cut = false;
      continue;
    } else if (c == ':' && token > 0) {
      cut = true;
    }
    if (!cut && tokens[token]) *tokens[token] += c;
  }
}

ButtonCaption ParseButtonCaption(const char* name) {
  ButtonCaption parsed;
  if (!name || !*name) return parsed;
  int* codes[] = {&parsed.textAlign, &parsed.pictureAlign, &parsed.relativeAlign};
  for (int i = 0; i < 3 && std::isdigit(static_cast<unsigned char>(name[i])); ++i) *codes[i] = name[i] - '0';
  const char* rest = std::strchr(name, ';');
  if (!rest) {
    SplitCaptionTokens(name, &parsed.caption, nullptr, nullptr);
    return parsed;
  }
  ++rest;
  // The colour field: bracketed colours up to the next ';'.
  COLORREF* colours[] = {&parsed.textColor, &parsed.background};
  int slot = 0;
  while (*rest && *rest != ';') {
    const char* close = *rest == '[' ? std::strchr(rest, ']') : nullptr;
    if (!close) break;
    COLORREF colour;
    if (slot < 2 && HCtlColorToken(rest + 1, static_cast<int>(close - rest - 1), &colour)) *colours[slot] = colour;
    ++slot;
    rest = close + 1;
  }
  if (*rest == ';') ++rest;
  SplitCaptionTokens(rest, &parsed.caption, &parsed.picture, &parsed.secondPicture);
  return parsed;
}

KyGUIButtonControlImp::~KyGUIButtonControlImp() { releasePicture(); }

void KyGUIButtonControlImp::TranslateStyle(DWORD& style, DWORD& exStyle) {
  DWORD native = BS_NOTIFY;
  static constexpr StylePair kKinds[] = {{0x3, BS_AUTORADIOBUTTON}, {0x6, BS_AUTORADIOBUTTON | BS_PUSHLIKE},
                                         {0x2, BS_AUTOCHECKBOX}, {0x4, BS_3STATE}};
  for (const StylePair& kind : kKinds)
    if (HasAllBits(style, kind.generic)) {
      style &= ~kind.generic;
      native |= kind.native;
      break;
    }
  if (style & 0x40) {
    style &= ~0x40u;
    native |= BS_RIGHT;
  } else if (style & 0x20) {
    native |= BS_LEFT;
  }
  if (style & 0x100) {
    style &= ~0x100u;
    native |= BS_OWNERDRAW;
  }
  if (style & 0x80) {
    style &= ~(0x80u | WS_TABSTOP);
    focusRect = false;
  }
  if (isRadioOrCheck(native)) style &= ~0xC10u;
  style |= native;
}

BOOL KyGUIButtonControlImp::CreateControl(const KyNativeCreate& args) {
  genericStyle = args.style;
  firstInstance = args.instance;
  secondInstance = args.secondInstance;
  textColor = kButtonText;
  DWORD style = args.style, exStyle = args.exStyle;
  TranslateStyle(style, exStyle);
  const std::string name = args.windowName ? args.windowName : "";
  std::string windowText = name;
  if (!isRadioOrCheck(style)) {
    kind = 1;
    const size_t dot = name.rfind('.');
    bitmapMode = !(dot != std::string::npos && endsWithIco(name.substr(dot + 1, 3)));
    if (style & 0x1000) {
      style &= ~0x1000u;
      plainFrame = true;
    }
    const ButtonCaption parsed = ParseButtonCaption(name.c_str());
    textAlign = parsed.textAlign;
    pictureAlign = parsed.pictureAlign;
    relativeAlign = parsed.relativeAlign;
    if (parsed.textColor != 0xFFFFFFFF) textColor = parsed.textColor;
    if (parsed.background != 0xFFFFFFFF) {
      background = parsed.background;
      RebuildBrush();
    }
    caption = windowText = parsed.caption;
    pictureFile = parsed.picture;
    if (caption.find('\n') != std::string::npos) style |= BS_MULTILINE;
    style &= ~0xFu;
    if (!pictureFile.empty()) {
      bitmapMode = !endsWithIco(pictureFile);
      style |= BS_OWNERDRAW | (bitmapMode ? BS_BITMAP : BS_ICON);
    } else if (textColor == kButtonText && !plainFrame && focusRect) {
      style = (style & ~kAlignmentBits) | AlignmentStyle(textAlign);
    } else {
      style |= BS_OWNERDRAW;
    }
  } else {
    const DWORD type = style & 0xF;
    kind = type == BS_AUTORADIOBUTTON ? 2 : type == BS_AUTOCHECKBOX ? 3 : 4;
    const size_t semicolon = name.find(';');
    if (semicolon != std::string::npos) {
      bitmapMode = !endsWithIco(name);
      style |= bitmapMode ? BS_BITMAP : BS_ICON;
      windowText = name.substr(semicolon + 1);
      SplitCaptionTokens(windowText.c_str(), &caption, &pictureFile, nullptr);
    } else {
      caption = name;
    }
  }
  if (!CreateEx(exStyle, "BUTTON", windowText.c_str(), style, args.x, args.y, args.width, args.height, args.parent,
                args.id, args.param))
    return FALSE;
  if (!pictureFile.empty()) loadPicture(pictureFile);
  return TRUE;
}

bool KyGUIButtonControlImp::loadPicture(const std::string& file) {
  NativeImage image;
  if (!AcquireImage(bitmapMode ? kNativeBitmap : kNativeIcon, firstInstance, secondInstance, file.c_str(), &image))
    return false;
  releasePicture();
  picture_ = image.handle;
  pictureIsIcon_ = !bitmapMode;
  Standard(BM_SETIMAGE, pictureIsIcon_ ? IMAGE_ICON : IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
  return true;
}

void KyGUIButtonControlImp::releasePicture() {
  if (!picture_) return;
  if (!ReleaseImage(picture_)) DeleteImage(pictureIsIcon_ ? kNativeIcon : kNativeBitmap, picture_);
  picture_ = nullptr;
}

bool KyGUIButtonControlImp::isOwnerDrawn() { return (GetStyle() & 0xF) == BS_OWNERDRAW; }

void KyGUIButtonControlImp::setAlignment(int code) {
  SetWindowLongA(m_hWnd, GWL_STYLE, (GetStyle() & ~kAlignmentBits) | AlignmentStyle(code));
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

LRESULT KyGUIButtonControlImp::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == KYM_SETBKCOLOR && kind == 1 && lParam == -1) lParam = static_cast<LPARAM>(kButtonFace);
  if (message == WM_LBUTTONUP || (message == WM_KEYUP && wParam == VK_SPACE)) {
    const LRESULT r = Standard(message, wParam, lParam);
    Notify(kClicked);
    LRESULT common = 0;
    HandleCommonMessage(message, wParam, lParam, &common);
    return r;
  }
  static constexpr struct {
    UINT from, to;
  } kAliases[] = {{KYM_EDITINSERTTEXT, KYM_EDITGETLINK}, {KYM_GETMAX, KYM_EDITSETLINK}, {NKM_PARENTCOLOR, KYM_SETBKCOLOR}};
  for (const auto& alias : kAliases)
    if (message == alias.from) message = alias.to;
  if (message == NKM_SETTEXTCOLOR && kind == 1 && pictureFile.empty()) {
    const bool standard = (lParam == -1 || static_cast<COLORREF>(lParam) == kButtonText) &&
                          !(GetStyle() & BS_MULTILINE) && !plainFrame && focusRect;
    DWORD style = GetStyle() & ~0xFu;
    if (!standard) style |= BS_OWNERDRAW;
    SetWindowLongA(m_hWnd, GWL_STYLE, style);
  }
  LRESULT result = 0;
  if (HandleCommonMessage(message, wParam, lParam, &result)) return result;
  return ownMessage(message, wParam, lParam);
}

LRESULT KyGUIButtonControlImp::ownMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case 1054: return AlignmentCode(GetStyle());
    case 1055: return Standard(BM_GETIMAGE, IMAGE_BITMAP, 0);
    case 1056: return Standard(BM_GETIMAGE, IMAGE_BITMAP, 0) ? 1 : 0;
    case 1063: return 3;
    case 1074:
      if (isOwnerDrawn()) pictureAlign = static_cast<int>(wParam);
      setAlignment(static_cast<int>(wParam));
      return 1;
    case 1075: return Standard(BM_SETIMAGE, IMAGE_BITMAP, lParam);
    case 1076: transparent = static_cast<COLORREF>(lParam); return Standard(message, wParam, lParam);
    case 1077:
      if (isOwnerDrawn()) relativeAlign = static_cast<int>(wParam);
      SetWindowLongA(m_hWnd, GWL_STYLE, (GetStyle() & ~0xFu) | BS_OWNERDRAW);
      return 1;
    case 1078: {
      // A sound is a file with its folder; a bare name is ignored.
      const char* file = reinterpret_cast<const char*>(lParam);
      if (file && std::strchr(file, '\\')) soundFile = file;
      return 1;
    }
    case 1079:
      if (isOwnerDrawn()) textAlign = static_cast<int>(wParam);
      setAlignment(static_cast<int>(wParam));
      return 1;
    case 1090: {
      const char* file = reinterpret_cast<const char*>(lParam);
      const DWORD style = GetStyle();
      if (!file || !*file || !(style & (BS_BITMAP | BS_ICON))) return Standard(message, wParam, lParam);
      bitmapMode = (style & BS_BITMAP) != 0;
      if (!loadPicture(file)) return Standard(message, wParam, lParam);
      pictureFile = file;
      return 1;
    }
    case WM_SETTEXT: {
      std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      ApplyTextCase(text.data());
      if (text.find('^') != std::string::npos) {
        std::string split;
        SplitCaptionTokens(text.c_str(), &split, nullptr, nullptr);
        text = split;
      }
      caption = text;
      return Standard(WM_SETTEXT, wParam, reinterpret_cast<LPARAM>(caption.c_str()));
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:  // a quick second press is a press too
      if (!soundFile.empty()) {
        sndPlaySoundA(nullptr, 0);
        sndPlaySoundA(soundFile.c_str(), SND_ASYNC);
      }
      return Standard(message, wParam, lParam);
    case WM_DESTROY: releasePicture(); return Standard(message, wParam, lParam);
    case WM_SETFOCUS:
      if (kind != 1) rememberedCheck() = static_cast<int>(Standard(BM_GETCHECK, 0, 0));
      return Standard(message, wParam, lParam);
    case WM_KILLFOCUS:
      if (kind != 1 && Standard(BM_GETCHECK, 0, 0) != rememberedCheck()) Notify(kCheckChanged);
      return Standard(message, wParam, lParam);
    default: return Standard(message, wParam, lParam);
  }
}

namespace {

// A rectangle of the size placed in `area` by an alignment code: left or
// top at the area's edge, centred, or 5 pixels from the right or bottom.
RECT place(const RECT& area, SIZE size, int code) {
  auto along = [](LONG low, LONG high, LONG extent, int where) {
    const LONG at = where == 0 ? low : where == 1 ? (low + high - extent) / 2 : high - 5 - extent;
    return at < 0 ? 0 : at;
  };
  const LONG x = along(area.left, area.right, size.cx, code % 3);
  const LONG y = along(area.top, area.bottom, size.cy, code / 3);
  return RECT{x, y, x + size.cx, y + size.cy};
}

SIZE captionSize(HDC dc, const std::string& text) {
  SIZE total{0, 0};
  size_t start = 0;
  do {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
    total.cx = size.cx > total.cx ? size.cx : total.cx;
    total.cy += size.cy;
    start = end == std::string::npos ? end : end + 1;
  } while (start != std::string::npos);
  return total;
}

}  // namespace

void KyGUIButtonControlImp::DrawItem(LPDRAWITEMSTRUCT item) {
  HDC dc = item->hDC;
  RECT rect = item->rcItem;
  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  FillRect(dc, &rect, brush);
  if (!plainFrame)
    DrawFrameControl(dc, &rect, DFC_BUTTON,
                     DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0) | ((item->itemState & ODS_DISABLED) ? DFCS_INACTIVE : 0));
  if (!picture_ && bitmapMode && !pictureFile.empty()) loadPicture(pictureFile);
  RECT area = rect;
  InflateRect(&area, -4 * GetSystemMetrics(SM_CXBORDER), -4 * GetSystemMetrics(SM_CYBORDER));
  const int shift = pressed && !plainFrame ? 2 : 0;
  RECT pictureRect{}, textRect{};
  SIZE pictureSize{0, 0};
  if (picture_) {
    if (pictureIsIcon_) {
      pictureSize = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    } else {
      BITMAP info{};
      GetObjectA(picture_, sizeof info, &info);
      pictureSize = {info.bmWidth, info.bmHeight};
    }
    pictureRect = place(area, pictureSize, pictureAlign);
  }
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  if (!caption.empty()) textRect = place(area, captionSize(dc, caption), textAlign);
  if (picture_ && !caption.empty() && pictureAlign == textAlign) {
    // Picture and caption share a place: each moves away from the other by
    // half the other's size, along the relative alignment's direction.
    const int horizontal = relativeAlign % 3, vertical = relativeAlign / 3;
    const LONG dx = horizontal == 0 ? -1 : horizontal == 2 ? 1 : 0;
    const LONG dy = vertical == 0 ? -1 : vertical == 2 ? 1 : 0;
    OffsetRect(&pictureRect, dx * (textRect.right - textRect.left) / 2, dy * (textRect.bottom - textRect.top) / 2);
    OffsetRect(&textRect, -dx * pictureSize.cx / 2, -dy * pictureSize.cy / 2);
  }
  if (picture_) {
    OffsetRect(&pictureRect, shift, shift);
    if (pictureIsIcon_) {
      DrawIcon(dc, pictureRect.left, pictureRect.top, static_cast<HICON>(picture_));
    } else if (transparent) {
      HCtlDrawTransparent(dc, static_cast<HBITMAP>(picture_), pictureRect.left, pictureRect.top, transparent);
    } else {
      HDC memory = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(memory, picture_);
      BitBlt(dc, pictureRect.left, pictureRect.top, pictureSize.cx, pictureSize.cy, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
    }
  }
  if (!caption.empty()) {
    OffsetRect(&textRect, shift, shift);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, HCtlResolveColor(textColor, COLOR_BTNTEXT));
    const bool lines = caption.find('\n') != std::string::npos;
    RECT drawn = textRect;
    DrawTextA(dc, caption.c_str(), -1, &drawn, DT_CENTER | DT_VCENTER | (lines ? 0 : DT_SINGLELINE));
  }
  if ((item->itemState & ODS_FOCUS) && focusRect) {
    RECT focus = caption.empty() ? pictureRect : textRect;
    InflateRect(&focus, 1, 1);
    DrawFocusRect(dc, &focus);
    if (!plainFrame) FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  if (oldFont) SelectObject(dc, oldFont);
}
