// OleCreatePropertyFrame: the modal frame of a set of property pages. The
// pages are made first (a page that cannot be made fails the call before
// anything is shown); the frame is a dialog with one tab per page over the
// page area and OK, Cancel and Apply. A page is activated when its tab is
// first shown; Apply and OK apply every page that says it is dirty, and a
// page that reports itself dirty through its site enables Apply. The
// caption is the one given followed by " Properties".
#include <commctrl.h>
#include <olectl.h>
#include <windows.h>

#include <internal/comobject.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kApply = 12321;
constexpr int kTabsId = 12320;
constexpr int kMargin = 7;
constexpr int kButtonWidth = 75, kButtonHeight = 23, kButtonGap = 6;

std::string narrow(const OLECHAR* text) {
  std::string out;
  for (; text && *text; ++text) out += *text <= 0xFF ? static_cast<char>(*text) : '?';
  return out;
}

struct Page {
  IPropertyPage* page = nullptr;
  std::string title;
  SIZE size{};
  bool active = false;
};

class Frame;

// The site every page of the frame reports to.
class PageSite final : public IPropertyPageSite {
 public:
  PageSite(Frame* frame, LCID lcid) : frame_(frame), lcid_(lcid) {}
  void detach() { frame_ = nullptr; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IPropertyPageSite, this}});
  }
  KY_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* lcid) override { return lcid ? (*lcid = lcid_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** unknown) override {
    if (unknown) *unknown = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

 private:
  win32::com::RefCount refs_;
  Frame* frame_;
  LCID lcid_;
};

class Frame {
 public:
  Frame(std::string caption, POINT at, LCID lcid) : caption_(std::move(caption)), at_(at), site_(new PageSite(this, lcid)) {}
  ~Frame() {
    for (Page& page : pages_) {
      if (page.active) page.page->Deactivate();
      page.page->SetObjects(0, nullptr);
      page.page->SetPageSite(nullptr);
      page.page->Release();
    }
    site_->detach();
    site_->Release();
  }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  // Makes every page over the objects; the first failure ends it.
  HRESULT makePages(ULONG count, const CLSID* classes, ULONG objectCount, IUnknown** objects) {
    for (ULONG i = 0; i < count; ++i) {
      Page page;
      HRESULT hr = CoCreateInstance(classes[i], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                    reinterpret_cast<void**>(&page.page));
      if (FAILED(hr)) return hr;
      pages_.push_back(page);
      Page& made = pages_.back();
      PROPPAGEINFO info{};
      info.cb = sizeof info;
      if (FAILED(hr = made.page->SetPageSite(site_)) || FAILED(hr = made.page->SetObjects(objectCount, objects)) ||
          FAILED(hr = made.page->GetPageInfo(&info)))
        return hr;
      made.title = narrow(info.pszTitle);
      made.size = info.size;
      CoTaskMemFree(info.pszTitle);
      CoTaskMemFree(info.pszDocString);
      CoTaskMemFree(info.pszHelpFile);
    }
    return S_OK;
  }

  void init(HWND dialog) {
    dialog_ = dialog;
    SetWindowTextA(dialog, (caption_ + " Properties").c_str());
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LONG width = 0, height = 0;
    for (const Page& page : pages_) width = std::max(width, page.size.cx), height = std::max(height, page.size.cy);
    tabs_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, kMargin,
                            kMargin, 0, 0, dialog, reinterpret_cast<HMENU>(kTabsId), nullptr, nullptr);
    SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (size_t i = 0; i < pages_.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = pages_[i].title.data();
      TabCtrl_InsertItem(tabs_, static_cast<int>(i), &item);
    }
    // The tab control around the largest page, the buttons under it.
    RECT area{0, 0, width, height};
    TabCtrl_AdjustRect(tabs_, TRUE, &area);
    const int tabsWidth = std::max<int>(area.right - area.left, 3 * kButtonWidth + 2 * kButtonGap);
    const int tabsHeight = area.bottom - area.top;
    MoveWindow(tabs_, kMargin, kMargin, tabsWidth, tabsHeight, FALSE);
    const int buttonsTop = kMargin + tabsHeight + kMargin;
    const struct {
      int id;
      const char* text;
      DWORD style;
    } buttons[] = {{IDOK, "OK", BS_DEFPUSHBUTTON}, {IDCANCEL, "Cancel", BS_PUSHBUTTON}, {kApply, "&Apply", BS_PUSHBUTTON}};
    int x = kMargin + tabsWidth - 3 * kButtonWidth - 2 * kButtonGap;
    for (const auto& button : buttons) {
      HWND made = CreateWindowExA(0, "BUTTON", button.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | button.style, x,
                                  buttonsTop, kButtonWidth, kButtonHeight, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), nullptr, nullptr);
      SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      x += kButtonWidth + kButtonGap;
    }
    EnableWindow(GetDlgItem(dialog, kApply), FALSE);
    RECT client{0, 0, kMargin + tabsWidth + kMargin, buttonsTop + kButtonHeight + kMargin};
    AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, at_.x, at_.y, client.right - client.left, client.bottom - client.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    show(0);
  }

  // Shows page `index` (activating it the first time) and hides the others.
  void show(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    RECT area{};
    GetWindowRect(tabs_, &area);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(tabs_, FALSE, &area);
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
      Page& page = pages_[i];
      if (i == index && !page.active) page.active = SUCCEEDED(page.page->Activate(dialog_, &area, TRUE));
      if (page.active) page.page->Show(i == index ? SW_SHOW : SW_HIDE);
    }
  }

  // Applies every dirty page; false when one refused.
  bool apply() {
    bool ok = true;
    for (Page& page : pages_)
      if (page.active && page.page->IsPageDirty() == S_OK && FAILED(page.page->Apply())) ok = false;
    if (ok) EnableWindow(GetDlgItem(dialog_, kApply), FALSE);
    return ok;
  }

  void dirty() {
    if (dialog_) EnableWindow(GetDlgItem(dialog_, kApply), TRUE);
  }
  HWND tabs() const { return tabs_; }

 private:
  std::string caption_;
  POINT at_;
  PageSite* site_;
  std::vector<Page> pages_;
  HWND dialog_ = nullptr;
  HWND tabs_ = nullptr;
};

HRESULT PageSite::OnStatusChange(DWORD flags) {
  if (frame_ && (flags & PROPPAGESTATUS_DIRTY)) frame_->dirty();
  return S_OK;
}

INT_PTR CALLBACK frameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      reinterpret_cast<Frame*>(lParam)->init(dialog);
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (frame && header && header->idFrom == kTabsId && header->code == static_cast<UINT>(TCN_SELCHANGE))
        frame->show(TabCtrl_GetCurSel(frame->tabs()));
      return TRUE;
    }
    case WM_COMMAND:
      if (!frame) return FALSE;
      switch (LOWORD(wParam)) {
        case IDOK:
          if (frame->apply()) EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case kApply:
          frame->apply();
          return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption,
                                                         ULONG cObjects, IUnknown** ppUnk, ULONG cPages,
                                                         LPCLSID pPageClsID, LCID lcid, DWORD, LPVOID) {
  if (cPages == 0 || !pPageClsID || (cObjects && !ppUnk)) return E_INVALIDARG;
  InitCommonControls();
  POINT at{static_cast<LONG>(x), static_cast<LONG>(y)};
  if (hwndOwner) ClientToScreen(hwndOwner, &at);
  Frame frame(narrow(lpszCaption), at, lcid);
  if (const HRESULT hr = frame.makePages(cPages, pPageClsID, cObjects, ppUnk); FAILED(hr)) return hr;
  // An empty template: the frame makes its tabs and buttons itself.
  struct {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
  } blank{};
  blank.header.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const INT_PTR answer = DialogBoxIndirectParamA(nullptr, &blank.header, hwndOwner, frameProc,
                                                 reinterpret_cast<LPARAM>(&frame));
  return answer == -1 ? E_FAIL : S_OK;
}
