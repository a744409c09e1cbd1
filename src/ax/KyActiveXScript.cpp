#include "KyActiveXScript.h"

#include <afxext.h>
#include <afxfile.h>
#include <afxframe.h>
#include <mscrt.h>
#include <oleauto.h>

#include <cstring>
#include <vector>

#include "AxModule.h"
#include "KyActiveXControl.h"
#include "KyScriptError.h"
#include "KyScriptText.h"
#include "axres.h"

namespace {

const char kADName[] = "AD";
const char kDocVersion[] = "Orvo Zunt 7.2.1";
const char kUnload[] = "#Unload";
const char kExternal[] = "#External";
const DWORD kItemFlags = SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE | SCRIPTITEM_GLOBALMEMBERS;
// Where a missing engine can be had: the project's engine is built with it.
const char kEngineAddress[] = "https://duktape.org/";

bool beginsWithNoCase(const char* text, const char* directive) {
  return _strnicmp(text, directive, std::strlen(directive)) == 0;
}

// The control that a named window hosts; null for any other window.
IUnknown* controlUnknown(CWnd* window) {
  auto* control = dynamic_cast<KyActiveXControl*>(window);
  COleControlSite* site = control ? control->GetControlSite() : nullptr;
  return site ? site->m_pObject : nullptr;
}

// The zero-based line of the text, lines separated by CR LF.
CString lineOf(const CString& text, ULONG line) {
  int start = 0;
  for (ULONG n = 0; n < line; ++n) {
    const int end = text.Find("\r\n", start);
    if (end < 0) return CString();
    start = end + 2;
  }
  const int end = text.Find("\r\n", start);
  return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

void showMessage(HWND owner, const CString& text) { ::MessageBoxA(owner, text, nullptr, MB_OK | MB_ICONEXCLAMATION); }

}  // namespace

KyActiveXScript::KyActiveXScript(CWnd* host, KyActiveXContainer* container)
    : m_pContainer(container), m_pAD(new KyADInterface(container)) {
  if (!host) {
    CWnd* main = AfxGetMainWnd();
    auto* frame = dynamic_cast<CFrameWnd*>(main);
    host = frame ? frame->GetActiveFrame() : main;
  }
  m_hHost = host ? host->GetSafeHwnd() : nullptr;
  m_xSite.m_pOwner = this;
  m_xSiteWindow.m_pOwner = this;
}

KyActiveXScript::~KyActiveXScript() {
  Stop();
  m_pAD->Release();
}

void KyActiveXScript::NameControl(CWnd* window, const char* name) {
  if (name && *name) m_windows[CString(name)] = window;
}

void KyActiveXScript::NameField(void* field, const char* name, KyScriptFieldCallback callback) {
  if (name) m_pAD->NameField(field, name, callback);
}

void KyActiveXScript::Stop() {
  if (m_pParse) m_pParse->Release();
  m_pParse = nullptr;
  if (m_pEngine) {
    m_pEngine->Close();
    m_pEngine->Release();
  }
  m_pEngine = nullptr;
}

BOOL KyActiveXScript::RunScript(const char* code, const char* language) {
  if (std::strcmp(language ? language : "", m_language) != 0) {
    Stop();
    m_language = language;
  }
  if (!code || !*code) return FALSE;
  CString text(code);
  if (*code == '#' && !resolveDirectives(&text)) return FALSE;
  if (!m_pEngine && !start()) return FALSE;
  m_text = text;
  const std::u16string wide = ax::ToWide(m_text);
  const HRESULT hr = m_pParse->ParseScriptText(reinterpret_cast<LPCOLESTR>(wide.c_str()), nullptr, nullptr, nullptr,
                                               0, 0, 0, nullptr, nullptr);
  return SUCCEEDED(hr);
}

bool KyActiveXScript::resolveDirectives(CString* text) {
  if (beginsWithNoCase(*text, kUnload)) {
    Stop();
    return false;
  }
  if (beginsWithNoCase(*text, kExternal)) return readExternal(text);
  return true;
}

// "#External name": the rest of the first line names the file whose text
// runs. A bare name is looked for along the search path.
bool KyActiveXScript::readExternal(CString* text) {
  CString name = text->Mid(static_cast<int>(std::strlen(kExternal)));
  const int lineEnd = name.FindOneOf("\r\n");
  if (lineEnd >= 0) name = name.Left(lineEnd);
  name.Trim();
  CString searched = name;
  if (name.FindOneOf("\\/") < 0) {
    char found[MAX_PATH];
    const DWORD n = ::SearchPathA(nullptr, name, nullptr, sizeof found, found, nullptr);
    if (n > 0 && n < sizeof found) searched = found;
  }
  CFile file;
  if (name.IsEmpty() || !file.Open(searched, CFile::modeRead | CFile::shareDenyNone)) {
    showMessage(hostWindow(), ax::FormatTextPattern("Cannot open '%s'", searched));
    return false;
  }
  try {
    const ULONGLONG length = file.GetLength();
    std::vector<char> bytes(static_cast<size_t>(length));
    const UINT got = length ? file.Read(bytes.data(), static_cast<UINT>(length)) : 0;
    *text = CString(bytes.data(), static_cast<int>(got));
  } catch (CFileException* error) {
    error->Delete();
    return false;
  }
  return !text->IsEmpty();
}

BOOL KyActiveXScript::start() {
  CLSID clsid{};
  const std::u16string progId = ax::ToWide(m_language);
  if (FAILED(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.c_str()), &clsid))) {
    CString message = ax::FormatTextPattern("The ActiveX Scripting Engine '%s'could not be found", m_language);
    message += "\n\nThe latest version of this scripting engine can be obtained from\n";
    message += "\t";
    message += kEngineAddress;
    showMessage(hostWindow(), message);
    return FALSE;
  }
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                              reinterpret_cast<void**>(&m_pEngine))) ||
      FAILED(m_pEngine->QueryInterface(IID_IActiveScriptParse, reinterpret_cast<void**>(&m_pParse))) ||
      FAILED(m_pEngine->SetScriptSite(&m_xSite)) || FAILED(m_pParse->InitNew())) {
    Stop();
    return FALSE;
  }
  std::vector<CString> names{CString(kADName)};
  for (const auto& [name, window] : m_windows) names.push_back(name);
  for (const CString& name : names) {
    const std::u16string wide = ax::ToWide(name);
    if (FAILED(m_pEngine->AddNamedItem(reinterpret_cast<LPCOLESTR>(wide.c_str()), kItemFlags)))
      showMessage(hostWindow(), ax::FormatText(IDS_AX_NAME_NOT_ADDED, name));
  }
  m_pEngine->SetScriptState(SCRIPTSTATE_STARTED);
  if (FAILED(m_pEngine->SetScriptState(SCRIPTSTATE_CONNECTED))) {
    Stop();
    return FALSE;
  }
  return TRUE;
}

// The window is kept by handle: a host that outlives its window (the
// application-wide one) must not reach a window object that is gone.
HWND KyActiveXScript::hostWindow() const { return m_hHost && ::IsWindow(m_hHost) ? m_hHost : nullptr; }

HRESULT KyActiveXScript::itemInfo(LPCOLESTR name, DWORD mask, IUnknown** unknown, ITypeInfo** info) {
  if (unknown) *unknown = nullptr;
  if (info) *info = nullptr;
  if (!name) return E_POINTER;
  const CString itemName = ax::FromBstr(name);
  IUnknown* object = nullptr;
  if (itemName == kADName) {
    object = m_pAD;
  } else if (auto found = m_windows.find(itemName); found != m_windows.end()) {
    object = controlUnknown(found->second);
  }
  if (!object) return TYPE_E_ELEMENTNOTFOUND;
  object->AddRef();
  if ((mask & SCRIPTINFO_ITYPEINFO) && info) {
    IProvideClassInfo* classInfo = nullptr;
    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&classInfo))) && classInfo) {
      classInfo->GetClassInfo(info);
      classInfo->Release();
    } else if (SUCCEEDED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) && dispatch) {
      dispatch->GetTypeInfo(0, LOCALE_SYSTEM_DEFAULT, info);
      dispatch->Release();
    }
  }
  if ((mask & SCRIPTINFO_IUNKNOWN) && unknown) {
    *unknown = object;
  } else {
    object->Release();
  }
  return S_OK;
}

HRESULT KyActiveXScript::scriptError(IActiveScriptError* error) {
  if (!error) return E_POINTER;
  EXCEPINFO exception{};
  error->GetExceptionInfo(&exception);
  if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
  DWORD context = 0;
  ULONG line = 0;
  LONG character = 0;
  error->GetSourcePosition(&context, &line, &character);
  CString statement;
  BSTR lineText = nullptr;
  if (SUCCEEDED(error->GetSourceLineText(&lineText)) && lineText) {
    statement = ax::FromBstr(lineText);
  } else if (!m_text.IsEmpty()) {
    statement = lineOf(m_text, line);
  }
  SysFreeString(lineText);
  KyScriptError dialog(CWnd::FromHandle(hostWindow()), ax::FromBstr(exception.bstrSource), ax::FromBstr(exception.bstrDescription), statement,
                       ax::FromBstr(exception.bstrHelpFile), exception.dwHelpContext);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return KyScriptError::AnswerOf(dialog.DoModal());
}

HRESULT KyActiveXScript::XActiveScriptSite::QueryInterface(REFIID riid, void** ppv) {
  return win32::com::answerQuery(riid, ppv,
                                 {{&IID_IUnknown, this},
                                  {&IID_IActiveScriptSite, this},
                                  {&IID_IActiveScriptSiteWindow, &m_pOwner->m_xSiteWindow}});
}

HRESULT KyActiveXScript::XActiveScriptSite::GetLCID(LCID* lcid) {
  if (!lcid) return E_POINTER;
  *lcid = LOCALE_SYSTEM_DEFAULT;
  return S_OK;
}

HRESULT KyActiveXScript::XActiveScriptSite::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** unknown,
                                                        ITypeInfo** info) {
  return m_pOwner->itemInfo(name, mask, unknown, info);
}

HRESULT KyActiveXScript::XActiveScriptSite::GetDocVersionString(BSTR* version) {
  if (!version) return E_POINTER;
  *version = ax::ToBstr(kDocVersion);
  return S_OK;
}

HRESULT KyActiveXScript::XActiveScriptSite::OnScriptError(IActiveScriptError* error) {
  return m_pOwner->scriptError(error);
}

HRESULT KyActiveXScript::XActiveScriptSiteWindow::QueryInterface(REFIID riid, void** ppv) {
  return m_pOwner->m_xSite.QueryInterface(riid, ppv);
}

HRESULT KyActiveXScript::XActiveScriptSiteWindow::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = m_pOwner->hostWindow();
  return *window && ::IsWindow(*window) ? S_OK : E_FAIL;
}

HRESULT KyActiveXScript::XActiveScriptSiteWindow::EnableModeless(BOOL enable) {
  if (HWND window = m_pOwner->hostWindow()) ::EnableWindow(window, enable);
  return S_OK;
}
