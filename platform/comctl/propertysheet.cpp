// PropertySheetA: a dialog holding one tab per page over the page area and
// OK, Cancel and Apply under it. Pages are dialogs made from their
// templates (made children with DS_CONTROL, so the sheet's dialog manager
// tabs into them) the first time they are shown; each hears the documented
// notifications (PSN_SETACTIVE, PSN_KILLACTIVE, PSN_APPLY, PSN_RESET,
// PSN_QUERYCANCEL) and answers them as its WM_NOTIFY result. A modeless
// sheet is not destroyed by OK or Cancel: it then answers no current page
// (PSM_GETCURRENTPAGEHWND), which tells its owner to destroy it.
// Wizards, help buttons and icons are not offered.
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _PSP {
  PROPSHEETPAGEA psp{};
  std::string title;  // PSP_USETITLE's text, kept beyond the caller's record
};

namespace {

constexpr int kMarginDlu = 7;
constexpr int kButtonWidthDlu = 50, kButtonHeightDlu = 14, kButtonGapDlu = 4;

// --- templates ----------------------------------------------------------------

WORD wordAt(const BYTE* p) {
  WORD w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

DWORD dwordAt(const BYTE* p) {
  DWORD d;
  std::memcpy(&d, p, sizeof d);
  return d;
}

// Past a name or ordinal (0xFFFF then a word, or a UTF-16 string).
const BYTE* skipNameOrOrdinal(const BYTE* p, std::string* text = nullptr) {
  if (wordAt(p) == 0xFFFF) return p + 4;
  for (; wordAt(p) != 0; p += 2)
    if (text) text->push_back(wordAt(p) < 0x100 ? static_cast<char>(wordAt(p)) : '?');
  return p + 2;
}

const BYTE* alignDword(const BYTE* base, const BYTE* p) { return base + ((p - base + 3) & ~3); }

// What the sheet needs of a page's template: its whole size (to copy it),
// where its style lies, its caption and its size in dialog units.
struct TemplateInfo {
  size_t size = 0;
  size_t styleOffset = 0;
  std::string title;
  SIZE dialogUnits{};
};

TemplateInfo readTemplate(const BYTE* base) {
  TemplateInfo info;
  const bool extended = wordAt(base) == 1 && wordAt(base + 2) == 0xFFFF;
  info.styleOffset = extended ? 12 : 0;
  const DWORD style = dwordAt(base + info.styleOffset);
  const BYTE* p = base + (extended ? 16 : 8);
  const int items = wordAt(p);
  info.dialogUnits = SIZE{static_cast<short>(wordAt(p + 6)), static_cast<short>(wordAt(p + 8))};
  p += 10;
  p = skipNameOrOrdinal(p);  // menu
  p = skipNameOrOrdinal(p);  // class
  p = skipNameOrOrdinal(p, &info.title);
  if (style & DS_SETFONT) {
    p += extended ? 6 : 2;  // point size (and weight, italic, character set)
    p = skipNameOrOrdinal(p);
  }
  for (int i = 0; i < items; ++i) {
    p = alignDword(base, p);
    p += extended ? 24 : 18;
    p = skipNameOrOrdinal(p);  // class
    p = skipNameOrOrdinal(p);  // title
    const WORD extra = wordAt(p);
    p += 2 + extra;
  }
  info.size = static_cast<size_t>(p - base);
  return info;
}

// The page's template: its own bytes or its module's dialog resource.
const BYTE* pageTemplate(const PROPSHEETPAGEA& psp) {
  if (psp.dwFlags & PSP_DLGINDIRECT) return reinterpret_cast<const BYTE*>(psp.pResource);
  HRSRC found = FindResourceA(psp.hInstance, psp.pszTemplate, RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(psp.hInstance, found) : nullptr;
  return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

void appendWord(std::vector<BYTE>& out, WORD w) {
  out.push_back(static_cast<BYTE>(w & 0xFF));
  out.push_back(static_cast<BYTE>(w >> 8));
}

void appendText(std::vector<BYTE>& out, const char* text) {
  for (; *text; ++text) appendWord(out, static_cast<unsigned char>(*text));
  appendWord(out, 0);
}

// The sheet's own template: a captioned pop-up in the shell font with no
// items; it lays out its tabs and buttons itself.
std::vector<BYTE> sheetTemplate(bool modeless) {
  DLGTEMPLATE header{};
  header.style = DS_MODALFRAME | DS_3DLOOK | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU |
                 WS_CLIPCHILDREN | (modeless ? WS_VISIBLE : 0);
  header.dwExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  std::vector<BYTE> bytes(sizeof header);
  std::memcpy(bytes.data(), &header, sizeof header);
  appendWord(bytes, 0);  // menu
  appendWord(bytes, 0);  // class
  appendWord(bytes, 0);  // title
  appendWord(bytes, 8);
  appendText(bytes, "MS Shell Dlg");
  return bytes;
}

// --- the sheet ------------------------------------------------------------------

class Sheet {
 public:
  struct Page {
    HPROPSHEETPAGE handle = nullptr;
    HWND hwnd = nullptr;
    std::string title;
    std::vector<BYTE> child;  // the template made a child's
    SIZE dialogUnits{};
    bool changed = false;
  };

  explicit Sheet(const PROPSHEETHEADERA& header) : header_(header), modeless_(header.dwFlags & PSH_MODELESS) {
    if (header.pszCaption) caption_ = textOf(header.hInstance, header.pszCaption);
  }
  ~Sheet() {
    for (Page& page : pages_) DestroyPropertySheetPage(page.handle);
  }
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  // Takes the header's pages; false when one cannot be made or has no
  // readable template.
  bool takePages() {
    const BYTE* record = reinterpret_cast<const BYTE*>(header_.ppsp);
    for (UINT i = 0; i < header_.nPages; ++i) {
      HPROPSHEETPAGE handle = nullptr;
      if (header_.dwFlags & PSH_PROPSHEETPAGE) {
        auto* psp = reinterpret_cast<LPCPROPSHEETPAGEA>(record);
        handle = CreatePropertySheetPageA(psp);
        record += psp->dwSize;
      } else {
        handle = header_.phpage[i];
      }
      if (!handle || !addPage(handle)) return false;
    }
    return true;
  }

  bool addPage(HPROPSHEETPAGE handle) {
    const BYTE* source = pageTemplate(handle->psp);
    if (!source) {
      DestroyPropertySheetPage(handle);
      return false;
    }
    const TemplateInfo info = readTemplate(source);
    Page page;
    page.handle = handle;
    page.child.assign(source, source + info.size);
    DWORD style = dwordAt(page.child.data() + info.styleOffset);
    style &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | WS_VISIBLE | WS_DISABLED);
    style |= WS_CHILD | WS_TABSTOP | DS_CONTROL | DS_3DLOOK;
    std::memcpy(page.child.data() + info.styleOffset, &style, sizeof style);
    page.title = (handle->psp.dwFlags & PSP_USETITLE) ? handle->title : info.title;
    page.dialogUnits = info.dialogUnits;
    pages_.push_back(std::move(page));
    if (tabs_) {
      insertTab(static_cast<int>(pages_.size()) - 1);
      if (current_ < 0) activate(0);
    }
    return true;
  }

  std::vector<BYTE> makeTemplate() {
    std::vector<BYTE> bytes = sheetTemplate(modeless_);
    if ((header_.dwFlags & PSH_USECALLBACK) && header_.pfnCallback)
      header_.pfnCallback(nullptr, PSCB_PRECREATE, reinterpret_cast<LPARAM>(bytes.data()));
    return bytes;
  }

  void init(HWND dialog) {
    dialog_ = dialog;
    setTitle(header_.dwFlags & PSH_PROPTITLE, caption_.c_str());
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    RECT margin{0, 0, kMarginDlu, kMarginDlu};
    MapDialogRect(dialog, &margin);
    RECT button{0, 0, kButtonWidthDlu, kButtonHeightDlu};
    MapDialogRect(dialog, &button);
    RECT gap{0, 0, kButtonGapDlu, 0};
    MapDialogRect(dialog, &gap);
    RECT largest{};
    for (const Page& page : pages_) {
      largest.right = std::max(largest.right, page.dialogUnits.cx);
      largest.bottom = std::max(largest.bottom, page.dialogUnits.cy);
    }
    MapDialogRect(dialog, &largest);

    tabs_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0, 0,
                            dialog, reinterpret_cast<HMENU>(IDD_PROPSHEET_TABS), nullptr, nullptr);
    SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) insertTab(i);

    const bool withApply = !(header_.dwFlags & PSH_NOAPPLYNOW);
    const int buttonCount = withApply ? 3 : 2;
    const int buttonsWidth = buttonCount * button.right + (buttonCount - 1) * gap.right;
    RECT area{0, 0, largest.right, largest.bottom};
    TabCtrl_AdjustRect(tabs_, TRUE, &area);
    const int tabsWidth = std::max<int>(area.right - area.left, buttonsWidth);
    const int tabsHeight = area.bottom - area.top;
    MoveWindow(tabs_, margin.right, margin.bottom, tabsWidth, tabsHeight, FALSE);
    pageArea_ = RECT{margin.right, margin.bottom, margin.right + tabsWidth, margin.bottom + tabsHeight};
    TabCtrl_AdjustRect(tabs_, FALSE, &pageArea_);

    const struct {
      int id;
      const char* text;
      DWORD style;
    } buttons[] = {{IDOK, "OK", BS_DEFPUSHBUTTON}, {IDCANCEL, "Cancel", BS_PUSHBUTTON},
                   {ID_APPLY_NOW, "&Apply", BS_PUSHBUTTON}};
    const int top = margin.bottom + tabsHeight + margin.bottom;
    int x = margin.right + tabsWidth - buttonsWidth;
    for (int i = 0; i < buttonCount; ++i) {
      HWND made = CreateWindowExA(0, "BUTTON", buttons[i].text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | buttons[i].style,
                                  x, top, button.right, button.bottom, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(buttons[i].id)), nullptr, nullptr);
      SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      x += button.right + gap.right;
    }
    if (withApply) EnableWindow(GetDlgItem(dialog, ID_APPLY_NOW), FALSE);
    SendMessageA(dialog, DM_SETDEFID, IDOK, 0);

    RECT client{0, 0, margin.right + tabsWidth + margin.right, top + button.bottom + margin.bottom};
    AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    centreOnOwner();

    if (!activate(startPage()) && startPage() != 0) activate(0);
    HWND first = current_ >= 0 ? GetNextDlgTabItem(pages_[current_].hwnd, nullptr, FALSE) : nullptr;
    SetFocus(first ? first : tabs_);
    if ((header_.dwFlags & PSH_USECALLBACK) && header_.pfnCallback) header_.pfnCallback(dialog, PSCB_INITIALIZED, 0);
  }

  // The page's window, made on first use; false when it could not be
  // made or the page refused its activation.
  bool activate(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return false;
    Page& page = pages_[index];
    if (!page.hwnd && !create(page)) return false;
    if (notify(page.hwnd, PSN_SETACTIVE, 0) == -1) return false;
    if (current_ >= 0 && current_ != index && pages_[current_].hwnd) ShowWindow(pages_[current_].hwnd, SW_HIDE);
    current_ = index;
    TabCtrl_SetCurSel(tabs_, index);
    ShowWindow(page.hwnd, SW_SHOW);
    return true;
  }

  // PSN_KILLACTIVE: false when the current page keeps the focus (its data
  // is not valid).
  bool leaveCurrent() {
    return current_ < 0 || !pages_[current_].hwnd || notify(pages_[current_].hwnd, PSN_KILLACTIVE, 0) == 0;
  }

  bool select(int index) {
    if (index == current_) return true;
    if (!leaveCurrent()) return false;
    if (activate(index)) return true;
    TabCtrl_SetCurSel(tabs_, current_);
    return false;
  }

  // OK and Apply: the current page is left, then every page made hears
  // PSN_APPLY; a page that refuses keeps the sheet open (PSNRET_INVALID
  // also brings it forward).
  bool apply(bool ok) {
    if (!leaveCurrent()) return false;
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
      if (!pages_[i].hwnd) continue;
      const LRESULT answer = notify(pages_[i].hwnd, PSN_APPLY, ok);
      if (answer == PSNRET_INVALID || answer == PSNRET_INVALID_NOCHANGEPAGE) {
        if (answer == PSNRET_INVALID) select(i);
        return false;
      }
    }
    applied_ = true;
    for (Page& page : pages_) page.changed = false;
    EnableWindow(GetDlgItem(dialog_, ID_APPLY_NOW), FALSE);
    // The current page is active again after Apply.
    if (!ok && current_ >= 0) notify(pages_[current_].hwnd, PSN_SETACTIVE, 0);
    return true;
  }

  void cancel() {
    if (current_ >= 0 && pages_[current_].hwnd && notify(pages_[current_].hwnd, PSN_QUERYCANCEL, 0) != 0) return;
    for (Page& page : pages_)
      if (page.hwnd) notify(page.hwnd, PSN_RESET, 0);
    end();
  }

  void end() {
    ended_ = true;
    if (!modeless_) EndDialog(dialog_, result());
  }

  void changed(HWND pageWindow, bool on) {
    for (Page& page : pages_)
      if (page.hwnd == pageWindow) page.changed = on;
    const bool any = std::any_of(pages_.begin(), pages_.end(), [](const Page& p) { return p.changed; });
    EnableWindow(GetDlgItem(dialog_, ID_APPLY_NOW), any);
  }

  void cancelToClose() {
    EnableWindow(GetDlgItem(dialog_, IDOK), FALSE);
    SetDlgItemTextA(dialog_, IDCANCEL, "Close");
  }

  LRESULT querySiblings(WPARAM wParam, LPARAM lParam) {
    for (Page& page : pages_) {
      if (!page.hwnd) continue;
      if (const LRESULT answer = SendMessageA(page.hwnd, PSM_QUERYSIBLINGS, wParam, lParam)) return answer;
    }
    return 0;
  }

  void setTitle(DWORD style, const char* text) {
    std::string title = textOf(header_.hInstance, text);
    if (style & PSH_PROPTITLE) title += " Properties";
    SetWindowTextA(dialog_, title.c_str());
  }

  bool removePage(int index, HPROPSHEETPAGE handle) {
    if (handle) index = indexOf(handle);
    if (index < 0 || index >= static_cast<int>(pages_.size())) return false;
    const bool wasCurrent = index == current_;
    if (pages_[index].hwnd) DestroyWindow(pages_[index].hwnd);
    DestroyPropertySheetPage(pages_[index].handle);
    pages_.erase(pages_.begin() + index);
    SendMessageA(tabs_, TCM_DELETEITEM, index, 0);
    if (wasCurrent) {
      current_ = -1;
      if (!pages_.empty()) activate(std::min<int>(index, static_cast<int>(pages_.size()) - 1));
    } else if (index < current_) {
      --current_;
      TabCtrl_SetCurSel(tabs_, current_);
    }
    return true;
  }

  // Pages go before the sheet's window does: each hears its own end.
  void destroyPages() {
    for (Page& page : pages_)
      if (page.hwnd && IsWindow(page.hwnd)) DestroyWindow(page.hwnd);
    for (Page& page : pages_) page.hwnd = nullptr;
  }

  int result() const { return (applied_ ? 1 : 0) | restart_; }
  // Set while a modeless sheet's window is being made: whether the window
  // took the sheet (and frees it when destroyed).
  bool* adopted = nullptr;
  void restart(int flags) { restart_ |= flags; }
  HWND currentPage() const { return ended_ || current_ < 0 ? nullptr : pages_[current_].hwnd; }
  HWND tabs() const { return tabs_; }
  bool modeless() const { return modeless_; }
  bool ended() const { return ended_; }
  int pageCount() const { return static_cast<int>(pages_.size()); }
  HWND pageWindow(int index) const {
    return index >= 0 && index < pageCount() ? pages_[index].hwnd : nullptr;
  }
  int indexOfWindow(HWND hwnd) const {
    for (int i = 0; i < pageCount(); ++i)
      if (pages_[i].hwnd == hwnd) return i;
    return -1;
  }
  int indexOf(HPROPSHEETPAGE handle) const {
    for (int i = 0; i < pageCount(); ++i)
      if (pages_[i].handle == handle) return i;
    return -1;
  }

 private:
  static std::string textOf(HINSTANCE instance, const char* text) {
    if (!text) return {};
    if (!IS_INTRESOURCE(text)) return text;
    char loaded[256] = "";
    LoadStringA(instance, static_cast<UINT>(reinterpret_cast<UINT_PTR>(text)), loaded, sizeof loaded);
    return loaded;
  }

  int startPage() const {
    if (!(header_.dwFlags & PSH_USEPSTARTPAGE)) return header_.nStartPage < pages_.size() ? header_.nStartPage : 0;
    const std::string wanted = textOf(header_.hInstance, header_.pStartPage);
    for (int i = 0; i < pageCount(); ++i)
      if (pages_[i].title == wanted) return i;
    return 0;
  }

  void insertTab(int index) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = pages_[index].title.data();
    TabCtrl_InsertItem(tabs_, index, &item);
  }

  bool create(Page& page) {
    PROPSHEETPAGEA& psp = page.handle->psp;
    if ((psp.dwFlags & PSP_USECALLBACK) && psp.pfnCallback && !psp.pfnCallback(nullptr, PSPCB_CREATE, &psp))
      return false;
    page.hwnd = CreateDialogIndirectParamA(psp.hInstance, reinterpret_cast<LPCDLGTEMPLATEA>(page.child.data()),
                                           dialog_, psp.pfnDlgProc, reinterpret_cast<LPARAM>(&psp));
    if (!page.hwnd) return false;
    SetWindowPos(page.hwnd, HWND_TOP, pageArea_.left, pageArea_.top, pageArea_.right - pageArea_.left,
                 pageArea_.bottom - pageArea_.top, SWP_NOACTIVATE);
    return true;
  }

  LRESULT notify(HWND page, UINT code, LPARAM lParam) {
    if (!page) return 0;
    PSHNOTIFY n{};
    n.hdr.hwndFrom = dialog_;
    n.hdr.idFrom = 0;
    n.hdr.code = code;
    n.lParam = lParam;
    return SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
  }

  void centreOnOwner() {
    HWND owner = GetWindow(dialog_, GW_OWNER);
    RECT around{};
    if (owner) GetWindowRect(owner, &around);
    else SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    RECT self{};
    GetWindowRect(dialog_, &self);
    const int width = self.right - self.left, height = self.bottom - self.top;
    const int x = std::max<int>(0, around.left + (around.right - around.left - width) / 2);
    const int y = std::max<int>(0, around.top + (around.bottom - around.top - height) / 2);
    SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }

  PROPSHEETHEADERA header_;
  bool modeless_;
  std::string caption_;
  std::vector<Page> pages_;
  HWND dialog_ = nullptr;
  HWND tabs_ = nullptr;
  RECT pageArea_{};
  int current_ = -1;
  bool applied_ = false;
  bool ended_ = false;
  int restart_ = 0;
};

Sheet* sheetOf(HWND dialog) { return reinterpret_cast<Sheet*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

INT_PTR answer(HWND dialog, LRESULT value) {
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, value);
  return TRUE;
}

INT_PTR command(HWND dialog, Sheet& sheet, int id) {
  switch (id) {
    case IDOK:
      if (sheet.apply(true)) sheet.end();
      return TRUE;
    case IDCANCEL:
      sheet.cancel();
      return TRUE;
    case ID_APPLY_NOW:
      sheet.apply(false);
      return TRUE;
  }
  return FALSE;
}

INT_PTR sheetMessage(HWND dialog, Sheet& sheet, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return HIWORD(wParam) == BN_CLICKED ? command(dialog, sheet, LOWORD(wParam)) : FALSE;
    case WM_CLOSE:
      if (IsWindowEnabled(GetDlgItem(dialog, IDCANCEL))) sheet.cancel();
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!header || header->hwndFrom != sheet.tabs()) return FALSE;
      if (header->code == static_cast<UINT>(TCN_SELCHANGING)) return answer(dialog, !sheet.leaveCurrent());
      if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        // The old page agreed to go when the change was offered.
        const int wanted = TabCtrl_GetCurSel(sheet.tabs());
        if (!sheet.activate(wanted)) sheet.activate(sheet.indexOfWindow(sheet.currentPage()));
      }
      return TRUE;
    }
    case PSM_SETCURSEL: {
      int index = static_cast<int>(wParam);
      if (lParam) index = sheet.indexOf(reinterpret_cast<HPROPSHEETPAGE>(lParam));
      return answer(dialog, sheet.select(index));
    }
    case PSM_ADDPAGE:
      return answer(dialog, lParam && sheet.addPage(reinterpret_cast<HPROPSHEETPAGE>(lParam)));
    case PSM_REMOVEPAGE:
      return answer(dialog, sheet.removePage(static_cast<int>(wParam), reinterpret_cast<HPROPSHEETPAGE>(lParam)));
    case PSM_CHANGED:
    case PSM_UNCHANGED:
      sheet.changed(reinterpret_cast<HWND>(wParam), message == PSM_CHANGED);
      return answer(dialog, TRUE);
    case PSM_RESTARTWINDOWS:
      sheet.restart(ID_PSRESTARTWINDOWS);
      return answer(dialog, 0);
    case PSM_REBOOTSYSTEM:
      sheet.restart(ID_PSREBOOTSYSTEM);
      return answer(dialog, 0);
    case PSM_CANCELTOCLOSE:
      sheet.cancelToClose();
      return answer(dialog, 0);
    case PSM_QUERYSIBLINGS:
      return answer(dialog, sheet.querySiblings(wParam, lParam));
    case PSM_APPLY:
      return answer(dialog, sheet.apply(false));
    case PSM_SETTITLEA:
      sheet.setTitle(static_cast<DWORD>(wParam), reinterpret_cast<LPCSTR>(lParam));
      return answer(dialog, 0);
    case PSM_PRESSBUTTON: {
      // Posted, as a click would be, so a page may ask from inside a handler.
      static constexpr int kButtons[] = {0, 0, 0, IDOK, ID_APPLY_NOW, IDCANCEL, IDHELP};
      if (wParam < 3 || wParam > PSBTN_CANCEL) return answer(dialog, FALSE);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kButtons[wParam], BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, kButtons[wParam])));
      return answer(dialog, TRUE);
    }
    case PSM_GETTABCONTROL:
      return answer(dialog, reinterpret_cast<LRESULT>(sheet.tabs()));
    case PSM_GETCURRENTPAGEHWND:
      return answer(dialog, reinterpret_cast<LRESULT>(sheet.currentPage()));
    case PSM_ISDIALOGMESSAGE:
      return answer(dialog, !sheet.ended() && lParam && IsDialogMessageA(dialog, reinterpret_cast<LPMSG>(lParam)));
    case PSM_HWNDTOINDEX:
      return answer(dialog, sheet.indexOfWindow(reinterpret_cast<HWND>(wParam)));
    case PSM_INDEXTOHWND:
      return answer(dialog, reinterpret_cast<LRESULT>(sheet.pageWindow(static_cast<int>(wParam))));
    case PSM_GETRESULT:
      return answer(dialog, sheet.ended() ? sheet.result() : -1);
    case WM_DESTROY:
      sheet.destroyPages();
      return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK sheetProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* sheet = reinterpret_cast<Sheet*>(lParam);
    if (sheet->adopted) *sheet->adopted = true;
    sheet->init(dialog);
    return FALSE;  // the sheet placed the focus with its page
  }
  Sheet* sheet = sheetOf(dialog);
  if (!sheet) return FALSE;
  const INT_PTR handled = sheetMessage(dialog, *sheet, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    if (sheet->modeless()) delete sheet;
  }
  return handled;
}

}  // namespace

extern "C" HPROPSHEETPAGE WINAPI CreatePropertySheetPageA(LPCPROPSHEETPAGEA psp) {
  if (!psp || psp->dwSize < offsetof(PROPSHEETPAGEA, pszHeaderTitle)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto page = std::make_unique<_PSP>();
  std::memcpy(&page->psp, psp, std::min<size_t>(psp->dwSize, sizeof page->psp));
  page->psp.dwSize = sizeof page->psp;
  if ((psp->dwFlags & PSP_USETITLE) && psp->pszTitle) {
    if (IS_INTRESOURCE(psp->pszTitle)) {
      char loaded[256] = "";
      LoadStringA(psp->hInstance, static_cast<UINT>(reinterpret_cast<UINT_PTR>(psp->pszTitle)), loaded, sizeof loaded);
      page->title = loaded;
    } else {
      page->title = psp->pszTitle;
    }
  }
  if ((psp->dwFlags & PSP_USEREFPARENT) && psp->pcRefParent) ++*psp->pcRefParent;
  return page.release();
}

extern "C" BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE page) {
  if (!page) return FALSE;
  std::unique_ptr<_PSP> owned(page);
  PROPSHEETPAGEA& psp = owned->psp;
  if ((psp.dwFlags & PSP_USECALLBACK) && psp.pfnCallback) psp.pfnCallback(nullptr, PSPCB_RELEASE, &psp);
  if ((psp.dwFlags & PSP_USEREFPARENT) && psp.pcRefParent) --*psp.pcRefParent;
  return TRUE;
}

extern "C" INT_PTR WINAPI PropertySheetA(LPCPROPSHEETHEADERA header) {
  if (!header || header->dwSize < offsetof(PROPSHEETHEADERA, hbmWatermark) || header->nPages == 0 ||
      !header->ppsp) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  InitCommonControls();
  auto sheet = std::make_unique<Sheet>(*header);
  if (!sheet->takePages()) return -1;
  const std::vector<BYTE> bytes = sheet->makeTemplate();
  const auto* layout = reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data());
  if (header->dwFlags & PSH_MODELESS) {
    // The window owns the sheet from here; it goes at WM_NCDESTROY.
    Sheet* owned = sheet.release();
    bool adopted = false;
    owned->adopted = &adopted;
    HWND dialog = CreateDialogIndirectParamA(header->hInstance, layout, header->hwndParent, sheetProc,
                                             reinterpret_cast<LPARAM>(owned));
    if (!adopted) delete owned;
    else if (dialog) owned->adopted = nullptr;
    if (!dialog) return -1;
    return reinterpret_cast<INT_PTR>(dialog);
  }
  const INT_PTR ended = DialogBoxIndirectParamA(header->hInstance, layout, header->hwndParent, sheetProc,
                                                reinterpret_cast<LPARAM>(sheet.get()));
  return ended == -1 ? -1 : sheet->result();
}
