// Building the information model from ITypeInfo.
#include "KyComInfo.h"

#include <comdef.h>
#include <winreg.h>

#include <new>

#include "KyAxHelpers.h"
#include "KyHelp.h"

namespace {

CString narrow(BSTR text) {
  CString out;
  for (UINT i = 0; text && i < SysStringLen(text); ++i) out += text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
  return out;
}

// A documentation text, or the COM error E_OUTOFMEMORY when it cannot be
// held: a model missing part of its help must not pass for a complete one.
CString documentText(BSTR text) {
  try {
    return narrow(text);
  } catch (CMemoryException* e) {
    e->Delete();
  } catch (const std::bad_alloc&) {
  }
  _com_issue_error(E_OUTOFMEMORY);
}

// Runs `f` when the scope ends, also when a documentation text raises the
// COM error of no memory: descriptions and references go back either way.
template <class F>
struct OnExit {
  F f;
  ~OnExit() { f(); }
};
template <class F>
OnExit(F) -> OnExit<F>;

// Frees the texts of one GetDocumentation or GetNames call.
struct Texts {
  BSTR items[8] = {};
  ~Texts() {
    for (BSTR text : items) SysFreeString(text);
  }
};

}  // namespace

// --- KyComDoc ---

KyComDoc::KyComDoc(ITypeInfo* info, MEMBERID memid) {
  Texts t;
  const HRESULT hr = info ? info->GetDocumentation(memid, &t.items[0], &t.items[1], &m_helpContext, &t.items[2]) : E_POINTER;
  fill(hr, t.items[0], t.items[1], m_helpContext, t.items[2]);
}

KyComDoc::KyComDoc(ITypeLib* library) {
  Texts t;
  const HRESULT hr = library ? library->GetDocumentation(-1, &t.items[0], &t.items[1], &m_helpContext, &t.items[2]) : E_POINTER;
  fill(hr, t.items[0], t.items[1], m_helpContext, t.items[2]);
}

void KyComDoc::fill(HRESULT hr, BSTR name, BSTR doc, DWORD help, BSTR file) {
  if (hr == E_OUTOFMEMORY) _com_issue_error(hr);  // the texts could not be made
  if (FAILED(hr)) {
    m_helpContext = 0;
    return;
  }
  m_name = documentText(name);
  m_docString = documentText(doc);
  m_helpFile = documentText(file);
  m_helpContext = help;
  if (m_docString.IsEmpty()) m_docString = m_name;
}

BOOL KyComDoc::ShowHelp() const {
  const ax::HelpKind kind = ax::HelpKindOf(m_helpFile);
  if (kind == ax::HelpKind::None) return FALSE;
  const BOOL shown = ax::OpenHelpFile(m_helpFile, m_helpContext, AfxGetMainWnd());
  return kind == ax::HelpKind::WinHelp ? shown : FALSE;
}

// --- KyComInfo ---

CString KyComInfo::GetName() const { return m_doc ? m_doc->m_name : CString(); }

// --- KyComDataType ---

KyComDataType::KyComDataType(ITypeInfo* info, const TYPEDESC* desc) {
  if (!desc) return;
  m_vt = desc->vt;
  if (desc->vt == VT_PTR) {
    m_isPointer = TRUE;
    if (!desc->lptdesc) return;
    m_pointsTo = std::make_unique<KyComDataType>(info, desc->lptdesc);
    m_typeText = m_pointsTo->m_typeText;
    m_typeName = m_pointsTo->m_typeName;
    return;
  }
  if (desc->vt == VT_USERDEFINED) {
    ITypeInfo* referenced = nullptr;
    if (!info || FAILED(info->GetRefTypeInfo(desc->hreftype, &referenced)) || !referenced) return;
    const OnExit release{[referenced] { referenced->Release(); }};
    {
      KyTypeAttr attr(referenced);
      if (attr && attr->typekind == TKIND_ENUM) {
        m_enum = std::make_unique<KyComEnum>(referenced, attr.get());
        m_typeName = m_enum->GetName();
      } else if (attr) {
        m_typeName = KyComDoc(referenced, MEMBERID_NIL).m_name;
      }
    }
    return;
  }
  m_typeText = ax::VarTypeName(desc->vt);
}

CString KyComDataType::GetName() const { return m_typeText.IsEmpty() ? m_typeName : m_typeText; }

void KyComDataType::VisitChildren(const Visitor& visit) {
  if (!m_enum) return;
  visit(*m_enum);
  m_enum->VisitChildren(visit);
}

// --- KyComParameter ---

KyComParameter::KyComParameter(ITypeInfo* info, const FUNCDESC* func, int index, const char* name)
    : m_name(name ? name : "") {
  if (!func || index < 0 || index >= func->cParams) return;
  const ELEMDESC& param = func->lprgelemdescParam[index];
  m_type = std::make_unique<KyComDataType>(info, &param.tdesc);
  m_typeText = m_type->GetName();
  const USHORT flags = param.paramdesc.wParamFlags;
  m_direction = (flags & PARAMFLAG_FIN) ? In : (flags & PARAMFLAG_FOUT) ? Out : (flags & PARAMFLAG_FRETVAL) ? Return : None;
  m_optional = (flags & PARAMFLAG_FOPT) != 0;
}

void KyComParameter::VisitChildren(const Visitor& visit) {
  if (!m_type) return;
  visit(*m_type);
  m_type->VisitChildren(visit);
}

// --- KyComProperty ---

void KyComProperty::VisitChildren(const Visitor& visit) {
  for (auto& param : m_params) {
    visit(*param);
    param->VisitChildren(visit);
  }
}

// --- KyComMethodInfo ---

KyComMethodInfo::KyComMethodInfo(ITypeInfo* info, UINT index, BOOL isEvent) {
  FUNCDESC* func = nullptr;
  if (!info || FAILED(info->GetFuncDesc(index, &func)) || !func) return;
  const OnExit release{[info, func] { info->ReleaseFuncDesc(func); }};
  m_memid = func->memid;
  const UINT wanted = static_cast<UINT>(func->cParams) + 1;
  std::vector<BSTR> names(wanted, nullptr);
  const OnExit freeNames{[&names] {
    for (BSTR name : names) SysFreeString(name);
  }};
  UINT got = 0;
  if (FAILED(info->GetNames(func->memid, names.data(), wanted, &got))) got = 0;
  m_name = got ? narrow(names[0]) : CString();
  for (int i = 0; i < func->cParams; ++i) {
    // A put's value parameter has no name in the library.
    const CString name = static_cast<UINT>(i + 1) < got ? narrow(names[i + 1]) : CString("rhs");
    m_params.push_back(std::make_unique<KyComParameter>(info, func, i, name));
  }
  m_doc = std::make_unique<KyComDoc>(info, func->memid);
  m_returnType = std::make_unique<KyComDataType>(info, &func->elemdescFunc.tdesc);
  m_invokeKind = func->invkind;
  m_funcFlags = func->wFuncFlags;
  if (isEvent) {
    m_kind = Event;
    return;
  }
  switch (m_invokeKind) {
    case INVOKE_PROPERTYGET: m_kind = PropertyGet; break;
    case INVOKE_PROPERTYPUT: m_kind = PropertyPut; break;
    case INVOKE_PROPERTYPUTREF: m_kind = PropertyPutRef; break;
    default: m_kind = Method; break;
  }
}

CString KyComMethodInfo::GetName() const { return m_name.IsEmpty() ? KyComInfo::GetName() : m_name; }

const KyComDataType* KyComMethodInfo::GetDataType() const {
  if (m_kind == PropertyPut && !m_params.empty()) return m_params.front()->m_type.get();
  if (m_kind == PropertyGet) return m_returnType.get();
  return nullptr;
}

BOOL KyComMethodInfo::IsVisibleProperty() const {
  return !(m_funcFlags & FUNCFLAG_FHIDDEN) && (m_kind == PropertyGet || m_kind == PropertyPut);
}

// --- KyComVariable ---

KyComVariable::KyComVariable(ITypeInfo* info, UINT index) {
  VARDESC* var = nullptr;
  if (!info || FAILED(info->GetVarDesc(index, &var)) || !var) return;
  const OnExit release{[info, var] { info->ReleaseVarDesc(var); }};
  m_memid = var->memid;
  m_varFlags = var->wVarFlags;
  m_varKind = var->varkind;
  m_type = std::make_unique<KyComDataType>(info, &var->elemdescVar.tdesc);
  m_doc = std::make_unique<KyComDoc>(info, var->memid);
  if (var->varkind == VAR_CONST && var->lpvarValue) {
    VARIANT text;
    VariantInit(&text);
    if (SUCCEEDED(VariantChangeType(&text, var->lpvarValue, 0, VT_BSTR))) m_value = narrow(text.bstrVal);
    VariantClear(&text);
  }
  Texts name;
  UINT got = 0;
  if (SUCCEEDED(info->GetNames(var->memid, &name.items[0], 1, &got)) && got) m_name = narrow(name.items[0]);
}

void KyComVariable::VisitChildren(const Visitor& visit) {
  if (!m_type) return;
  visit(*m_type);
  m_type->VisitChildren(visit);
}

// --- KyComEnum ---

KyComEnum::KyComEnum(ITypeInfo* info, const TYPEATTR* attr) {
  m_doc = std::make_unique<KyComDoc>(info, MEMBERID_NIL);
  for (UINT i = 0; attr && i < attr->cVars; ++i) m_constants.push_back(std::make_unique<KyComVariable>(info, i));
  if (!m_constants.empty()) m_type = m_constants.front()->GetDataType();
}

void KyComEnum::VisitChildren(const Visitor& visit) {
  for (auto& constant : m_constants) {
    visit(*constant);
    constant->VisitChildren(visit);
  }
}

// --- KyTypeAttr ---

KyTypeAttr::KyTypeAttr(ITypeInfo* info) {
  if (!info || FAILED(info->GetTypeAttr(&m_attr))) {
    m_attr = nullptr;
    return;
  }
  m_info = info;
  m_info->AddRef();
}

KyTypeAttr::~KyTypeAttr() {
  if (!m_info) return;
  m_info->ReleaseTypeAttr(m_attr);
  m_info->Release();
}

// --- KyRegKey ---

BOOL KyRegKey::Open(HKEY parent, const char* path) {
  Close();
  return RegOpenKeyExA(parent, path, 0, KEY_READ, &m_key) == ERROR_SUCCESS;
}

void KyRegKey::Close() {
  if (m_key) RegCloseKey(m_key);
  m_key = nullptr;
}

BOOL KyRegKey::EnumKey(DWORD index, char* name, DWORD size) const {
  return m_key && RegEnumKeyA(m_key, index, name, size) == ERROR_SUCCESS;
}

BOOL KyRegKey::QueryValue(const char* subKey, char* text, LONG size) const {
  return m_key && RegQueryValueA(m_key, subKey, text, &size) == ERROR_SUCCESS;
}
