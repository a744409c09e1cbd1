// Creating a hosted control and the wrapper's services: persistence,
// position and size, the About box, registration of control modules.
#include "KyActiveXControl.h"

#include <afxdlgs.h>
#include <combaseapi.h>
#include <winreg.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "AxModule.h"
#include "KyActiveXContainer.h"
#include "KyActiveXControlImpl.h"
#include "KyAxHelpers.h"
#include "KyHelp.h"
#include "KyPropertyString.h"
#include "axres.h"

namespace {

std::u16string wide(const char* text) { return std::u16string(text, text + std::strlen(text)); }

bool keyExists(const CString& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The class of a CLSID text (which must be registered) or a ProgID.
bool resolveClass(const char* classText, CLSID* clsid) {
  if (!classText || !*classText) return false;
  const std::u16string text = wide(classText);
  if (classText[0] == '{')
    return keyExists(CString("CLSID\\") + classText) &&
           SUCCEEDED(CLSIDFromString(reinterpret_cast<LPCOLESTR>(text.c_str()), clsid));
  return SUCCEEDED(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(text.c_str()), clsid));
}

CString progIdOf(REFCLSID clsid) {
  LPOLESTR progId = nullptr;
  CString out;
  if (FAILED(ProgIDFromCLSID(clsid, &progId))) return out;
  for (LPOLESTR p = progId; *p; ++p) out += static_cast<char>(*p);
  CoTaskMemFree(progId);
  return out;
}

// A stream over the whole file's bytes; null when it cannot be read.
IStream* streamFromFile(const char* file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return nullptr;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) return nullptr;
  if (!bytes.empty()) {
    void* data = GlobalLock(block);
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return nullptr;
  }
  return stream;
}

void showStop(CWnd* parent, const CString& text) {
  ::MessageBoxA(parent ? parent->m_hWnd : nullptr, text, nullptr, MB_OK | MB_ICONSTOP);
}

constexpr int kHimetricPerInch = 2540;

}  // namespace

KyActiveXControlImpl::KyActiveXControlImpl(KyActiveXControl* wnd)
    : m_pWnd(wnd), m_props(std::make_unique<KyPropertyString>()), m_events(std::make_unique<KyPropertyString>()) {}

KyActiveXControlImpl::~KyActiveXControlImpl() {
  if (m_pContainer) {
    const auto found = m_pContainer->m_controls.find(m_nID);
    if (found != m_pContainer->m_controls.end() && found->second == this) m_pContainer->m_controls.erase(found);
  }
  m_silencer.reset();
  m_pSite.reset();
}

void KyActiveXControlImpl::RenewSilencer() {
  if (!m_silencer || !m_pSite || m_pSite->m_hWnd == m_hWndLast) return;
  m_silencer.reset();
  m_hWndLast = m_pSite->m_hWnd;
  m_silencer = std::make_unique<KyWindowSilencer>(m_hWndLast);
}

KyActiveXControl::KyActiveXControl() : m_impl(std::make_unique<KyActiveXControlImpl>(this)) {}

KyActiveXControl::~KyActiveXControl() {
  // The control's window belongs to the control: it goes with the site.
  if (m_impl && m_impl->m_pSite) Detach();
  m_impl.reset();
}

BOOL KyActiveXControl::Create(const char* classText, const char* displayName, DWORD style, const RECT& rect,
                              CWnd* parent, UINT id, const char* properties, const char* eventMappings,
                              const char* persistedFile, KyActiveXContainer* container, void*) {
  KyActiveXControlImpl& impl = *m_impl;
  impl.m_pContainer = container;
  impl.m_nID = static_cast<WORD>(id);
  m_bIsBean = false;
  if (properties) impl.m_props->Parse(properties);
  if (eventMappings) impl.m_events->Parse(eventMappings);
  CString name = displayName ? displayName : "";
  const CString classString = classText ? classText : "";
  const auto nameOrClass = [&] { return name.IsEmpty() ? classString : name; };
  BOOL created = FALSE;
  if (!resolveClass(classText, &m_clsid)) {
    showStop(parent, nameOrClass() + ax::LoadText(IDS_AX_NOT_REGISTERED));
    createPlaceholder(nameOrClass(), style, rect, parent, id, &created);
    return created;
  }
  if (name.IsEmpty()) name = progIdOf(m_clsid);
  IStream* persisted = persistedFile && *persistedFile ? streamFromFile(persistedFile) : nullptr;
  m_bIsBean = keyExists("CLSID\\" + ax::GuidText(m_clsid) + "\\JavaClass");
  impl.m_pSite = std::make_unique<COleControlSite>(parent, id);
  impl.m_pSite->m_pWndCtrl = this;  // hears the control's notifications first
  const HRESULT hr = impl.m_pSite->CreateControl(m_clsid, style, rect, persisted);
  if (persisted) persisted->Release();
  if (FAILED(hr)) {
    impl.m_pSite.reset();
    showStop(parent, nameOrClass() + " - " + ax::LoadText(persisted ? IDS_AX_LOAD_FAILED_PERSISTED : IDS_AX_LOAD_FAILED));
    createPlaceholder(nameOrClass(), style, rect, parent, id, &created);
    return created;
  }
  Attach(impl.m_pSite->m_hWnd);
  impl.m_pUnknown = impl.m_pSite->m_pObject;
  impl.m_hWndLast = m_hWnd;
  if (!(GetStyle() & WS_CLIPSIBLINGS)) ModifyStyle(0, WS_CLIPSIBLINGS);
  impl.LoadTypeInfo();
  if (impl.m_iidEvents != GUID_NULL) impl.m_pSite->ConnectEvents(impl.m_iidEvents);
  impl.ApplyProperties();
  impl.BuildEventMap();
  CRect now;
  GetWindowRect(&now);
  if (now.Width() != rect.right - rect.left || now.Height() != rect.bottom - rect.top) {
    SetSize(CSize(rect.right - rect.left, rect.bottom - rect.top));
    SetPos(CPoint(rect.left, rect.top));
  }
  if (container) container->m_controls[impl.m_nID] = &impl;
  return TRUE;
}

void KyActiveXControl::createPlaceholder(const CString& name, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                                         BOOL* created) {
  const CString text = name + " - " + ax::LoadText(IDS_AX_COULD_NOT_LOAD);
  *created = CWnd::Create("STATIC", text, style | SS_SUNKEN | SS_NOPREFIX | SS_CENTER, rect, parent, id);
  if (*created) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(KyGetNiceStockFont()), FALSE);
}

BOOL KyActiveXControl::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nCode == CN_EVENT && pExtra && static_cast<AFX_EVENT*>(pExtra)->m_eventKind == AFX_EVENT::propChanged)
    ++m_impl->m_nPropertyChanges;
  return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

COleControlSite* KyActiveXControl::GetControlSite() const { return m_impl->m_pSite.get(); }

IUnknown* KyActiveXControl::GetControlUnknown() const {
  const COleControlSite* site = GetControlSite();
  return site ? site->m_pObject : nullptr;
}
int KyActiveXControl::GetPropertyChangeCount() const { return m_impl->m_nPropertyChanges; }
long KyActiveXControl::GetDISPIDFromName(const char* name) { return m_impl->GetDISPIDFromName(name); }

const char* KyActiveXControl::GetName() const {
  const_cast<KyActiveXControl*>(this)->m_nameCache = m_impl->m_doc ? m_impl->m_doc->m_name : CString();
  return m_nameCache;
}

const char* KyActiveXControl::GetDoc() const {
  const_cast<KyActiveXControl*>(this)->m_docCache = m_impl->m_doc ? m_impl->m_doc->GetDescription() : CString();
  return m_docCache;
}

const char* KyActiveXControl::GetPropertyString() const { return m_impl->m_props->GetSource(); }
const char* KyActiveXControl::GetEventMappingString() const { return m_impl->m_events->GetSource(); }

void KyActiveXControl::SetEventMappingString(const char* eventMappings) {
  m_impl->m_events->Parse(eventMappings ? eventMappings : "");
  m_impl->BuildEventMap();
}

BOOL KyActiveXControl::GetProperty(const char* name, CString& text) { return m_impl->GetProperty(name, text); }
BOOL KyActiveXControl::SetProperty(const char* name, const char* text) { return m_impl->SetProperty(name, text); }

BOOL KyActiveXControl::HasAbout() { return GetDISPIDFromName("AboutBox") != -1; }

BOOL KyActiveXControl::About() {
  const long dispid = GetDISPIDFromName("AboutBox");
  if (dispid == -1) {
    showStop(GetParent(), ax::LoadText(IDS_AX_NO_ABOUT_BOX));
    return FALSE;
  }
  return SUCCEEDED(m_impl->Invoke(dispid, DISPATCH_METHOD, nullptr, 0, nullptr));
}

BOOL KyActiveXControl::HasHelp() const { return m_impl->m_doc && m_impl->m_doc->HasHelp(); }

BOOL KyActiveXControl::ShowHelp() {
  if (!HasHelp()) {
    showStop(GetParent(), ax::LoadText(IDS_AX_NO_HELP));
    return FALSE;
  }
  CWnd* main = AfxGetMainWnd();
  auto* frame = dynamic_cast<CFrameWnd*>(main);
  return ax::OpenHelpFile(m_impl->m_doc->m_helpFile, m_impl->m_doc->m_helpContext, frame ? frame->GetActiveFrame() : main);
}

// The control's state through its site: IPersistStreamInit, or a
// property bag for a control that persists only that way.
BOOL KyActiveXControl::Save(const char* file) {
  COleControlSite* site = GetControlSite();
  IStream* stream = nullptr;
  HGLOBAL block = nullptr;
  if (!file || !site || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return FALSE;
  bool saved = SUCCEEDED(site->SaveState(stream, TRUE)) && SUCCEEDED(GetHGlobalFromStream(stream, &block));
  if (saved) {
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    const void* data = GlobalLock(block);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(stat.cbSize.QuadPart));
    GlobalUnlock(block);
    saved = static_cast<bool>(out.flush());
  }
  stream->Release();
  return saved;
}

BOOL KyActiveXControl::Load(const char* file) {
  COleControlSite* site = GetControlSite();
  if (!file || !site) return FALSE;
  IStream* stream = streamFromFile(file);
  const bool loaded = stream && SUCCEEDED(site->LoadState(stream));
  if (stream) stream->Release();
  return loaded;
}

BOOL KyActiveXControl::SetPos(CPoint point) {
  COleControlSite* site = GetControlSite();
  if (!site) return SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect rect = site->m_rect;
  rect.OffsetRect(point.x - rect.left, point.y - rect.top);
  return SUCCEEDED(site->SetRect(rect));
}

BOOL KyActiveXControl::SetSize(CSize size) {
  COleControlSite* site = GetControlSite();
  if (!site) return SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The control is told its extent in HIMETRIC and may round it.
  HDC screen = ::GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  SIZEL extent{MulDiv(size.cx, kHimetricPerInch, dpiX), MulDiv(size.cy, kHimetricPerInch, dpiY)};
  if (site->m_pOleObject && SUCCEEDED(site->m_pOleObject->SetExtent(DVASPECT_CONTENT, &extent)) &&
      SUCCEEDED(site->m_pOleObject->GetExtent(DVASPECT_CONTENT, &extent)))
    size = CSize(MulDiv(extent.cx, dpiX, kHimetricPerInch), MulDiv(extent.cy, dpiY, kHimetricPerInch));
  CRect rect = site->m_rect;
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  return SUCCEEDED(site->SetRect(rect));
}

void KyActiveXControl::AmbientChanged(DISPID dispid) {
  if (COleControlSite* site = GetControlSite()) site->AmbientChanged(dispid);
}

void KyActiveXControl::SetDesignMode(BOOL on) {
  m_impl->LoadTypeInfo();
  m_impl->m_silencer.reset();
  if (on && m_hWnd) m_impl->m_silencer = std::make_unique<KyWindowSilencer>(m_hWnd);
  if (COleControlSite* site = GetControlSite()) site->SetUserMode(!on);
}

CString KyActiveXControl::RegisterOCX(const char* file, CWnd* parent) {
  CString path = file ? file : "";
  if (path.IsEmpty()) {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    CFileDialog dialog(TRUE, ".ocx", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       "ActiveX Controls (*.ocx)|*.ocx|Module (*.dll)|*.dll|All Files (*.*)|*.*||", parent);
    const CString title = ax::LoadText(IDS_AX_ADD_CONTROL_TITLE);
    dialog.m_ofn.lpstrTitle = title;
    dialog.m_ofn.lpstrInitialDir = system;
    if (dialog.DoModal() != IDOK) return CString();
    path = dialog.GetPathName();
  }
  HMODULE module = LoadLibraryA(path);
  if (!module) {
    showStop(parent, ax::FormatText(IDS_AX_MODULE_NOT_LOADED, path));
    return CString();
  }
  auto registerServer = reinterpret_cast<LPFNREGISTERSERVER>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "DllRegisterServer")));
  const bool registered = registerServer && SUCCEEDED(registerServer());
  FreeLibrary(module);
  if (!registered) {
    showStop(parent, ax::FormatText(IDS_AX_MODULE_NOT_REGISTERED, path));
    return CString();
  }
  return path;
}
