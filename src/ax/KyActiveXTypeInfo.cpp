// The control's type information: the class's default interface gives its
// methods and properties, its default source interface its events (and the
// interface the site listens to). The members every dispatch interface
// inherits are left out.
#include <comdef.h>

#include <cstring>
#include <memory>

#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"
#include "KyAxHelpers.h"
#include "KyClassTypeLib.h"
#include "KyPropertyString.h"

namespace {

bool inheritedMember(const CString& name) {
  static const char* const names[] = {"AddRef", "Release", "QueryInterface", "GetIDsOfNames", "GetTypeInfo",
                                      "GetTypeInfoCount", "Invoke"};
  for (const char* inherited : names)
    if (name == inherited) return true;
  return false;
}

// The type the class implements with exactly these flags among
// default/source; a new reference, or null.
ITypeInfo* implemented(ITypeInfo* coclass, UINT count, bool source) {
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    HREFTYPE ref = 0;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FDEFAULT) ||
        ((flags & IMPLTYPEFLAG_FSOURCE) != 0) != source || FAILED(coclass->GetRefTypeOfImplType(i, &ref)))
      continue;
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(coclass->GetRefTypeInfo(ref, &info))) return info;
  }
  return nullptr;
}

}  // namespace

BOOL KyActiveXControlImpl::LoadTypeInfo() {
  if (m_bTypeInfoLoaded) return TRUE;
  ITypeLib* library = ax::TypeLibOfClass(ax::GuidText(m_pWnd->m_clsid));
  if (!library) return FALSE;
  ITypeInfo* coclass = nullptr;
  if (FAILED(library->GetTypeInfoOfGuid(m_pWnd->m_clsid, &coclass))) {
    library->Release();
    return FALSE;
  }
  library->Release();
  // A model that could not be read whole (its documentation found no
  // memory) is dropped: the control then has no type information.
  try {
    buildModel(coclass);
  } catch (const _com_error&) {
    clearModel();
  }
  coclass->Release();
  return m_bTypeInfoLoaded;
}

void KyActiveXControlImpl::clearModel() {
  m_bTypeInfoLoaded = FALSE;
  m_iidEvents = IID{};
  m_properties.clear();
  m_eventById.clear();
  m_methodById.clear();
  m_putById.clear();
  m_getById.clear();
  m_variableById.clear();
  m_methods.clear();
  m_eventList.clear();
  m_propertyFunctions.clear();
  m_variables.clear();
  m_allMethods.clear();
  m_doc.reset();
}

void KyActiveXControlImpl::buildModel(ITypeInfo* coclass) {
  m_bTypeInfoLoaded = TRUE;
  m_doc = std::make_unique<KyComDoc>(coclass, MEMBERID_NIL);
  KyTypeAttr attr(coclass);
  const UINT impls = attr ? attr->cImplTypes : 0;
  for (bool source : {false, true}) {
    ITypeInfo* info = implemented(coclass, impls, source);
    if (!info) continue;
    const std::unique_ptr<ITypeInfo, void (*)(ITypeInfo*)> held(info, [](ITypeInfo* i) { i->Release(); });
    KyTypeAttr members(info);
    if (source && members) m_iidEvents = members->guid;
    for (UINT i = 0; members && i < members->cFuncs; ++i) {
      auto method = std::make_unique<KyComMethodInfo>(info, i, source);
      if (inheritedMember(method->GetName())) continue;
      KyComMethodInfo* m = method.get();
      m_allMethods.push_back(std::move(method));
      switch (m->m_kind) {
        case KyComMethodInfo::Event: m_eventList.push_back(m), m_eventById[m->m_memid] = m; break;
        case KyComMethodInfo::Method: m_methods.push_back(m), m_methodById[m->m_memid] = m; break;
        case KyComMethodInfo::PropertyGet:
          m_propertyFunctions.push_back(m);
          m_getById[m->m_memid] = m;
          m_properties.emplace(m->GetName(), m);
          break;
        default:
          m_propertyFunctions.push_back(m);
          m_putById[m->m_memid] = m;
          m_properties.emplace(m->GetName(), m);  // a get of the name is kept first
          break;
      }
    }
    for (UINT i = 0; !source && members && i < members->cVars; ++i) {
      auto variable = std::make_unique<KyComVariable>(info, i);
      m_variableById[variable->m_memid] = variable.get();
      m_properties.emplace(variable->GetName(), variable.get());
      m_variables.push_back(std::move(variable));
    }
  }
  // A property that can be put is not read-only.
  for (auto& [memid, get] : m_getById) get->m_readOnly = !m_putById.count(memid);
  for (auto& [memid, put] : m_putById) put->m_readOnly = FALSE;
}

CString KyActiveXControlImpl::EventName(DISPID dispid) const {
  const auto found = m_eventById.find(dispid);
  return found == m_eventById.end() ? CString() : found->second->GetName();
}

CString KyActiveXControlImpl::LogicalEvent(const CString& physical) const {
  const auto found = m_eventMap.find(physical);
  return found == m_eventMap.end() ? CString() : found->second;
}

void KyActiveXControlImpl::BuildEventMap() {
  m_eventMap.clear();
  if (!m_events || !m_events->Parse(m_events->GetSource())) return;
  for (int i = 0; i < m_events->GetCount(); ++i) m_eventMap[m_events->GetName(i)] = m_events->GetValue(i);
}

long KyActiveXControlImpl::GetDISPIDFromName(const char* name) {
  if (!name) return -1;
  if (const auto found = m_properties.find(name); found != m_properties.end()) return found->second->m_memid;
  IDispatch* dispatch = m_pSite ? m_pSite->m_pDispatch : nullptr;
  if (!dispatch) return -1;
  std::u16string wide(name, name + std::strlen(name));
  LPOLESTR names[] = {reinterpret_cast<LPOLESTR>(wide.data())};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id))) return -1;
  return id;
}
