// The property atom interface: the provider chain, the store, and the core
// run-time's own provider (GETATOM, GetAtom, SETATOM, SetAtom).
#include "KyAtomInterface.h"

#include "KyApp.h"
#include "KyAppContext.h"
#include "KyComFld.h"
#include "KyDLL.h"

#include <mscrt.h>

#include <cstring>

namespace {

// A provider library's module, freed with the entry.
struct ModuleCloser {
  void operator()(HMODULE h) const {
    if (h) FreeLibrary(h);
  }
};
using ModulePtr = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

}  // namespace

struct KyAtomInterface::Provider {
  KyString name;  // "" for the built-in provider
  ModulePtr module;
  KyGetAtomProc get = nullptr;
  KySetAtomProc set = nullptr;
};

// --- the store --------------------------------------------------------------

KyAtomicReactor::KyAtomicReactor() = default;
KyAtomicReactor::~KyAtomicReactor() = default;

KyAtomEntry* KyAtomicReactor::Find(const KyString& name) const {
  auto it = m_Entries.find(name);
  return it == m_Entries.end() ? nullptr : it->second.get();
}

KyAtomEntry& KyAtomicReactor::FindOrCreate(const KyString& name) {
  std::unique_ptr<KyAtomEntry>& slot = m_Entries[name];
  if (!slot) slot = std::make_unique<KyAtomEntry>();
  return *slot;
}

void KyAtomicReactor::Remove(const KyString& name) { m_Entries.erase(name); }

KyAtomEntry::~KyAtomEntry() { HoldInterface(nullptr); }

KyString KyAtomEntry::indexKey(int iIndex1, int iIndex2) {
  KyString key;
  key.Format("%d:%d", iIndex1, iIndex2);
  return key;
}

KyString KyAtomEntry::GetValue(int iIndex1, int iIndex2) const {
  if (iIndex1 == 0 && iIndex2 == 0) return KyString(m_Value.GetString());
  if (!m_pIndexed) return KyString();
  const KyAtomEntry* pIndexed = m_pIndexed->Find(indexKey(iIndex1, iIndex2));
  return pIndexed ? pIndexed->GetValue(0, 0) : KyString();
}

void KyAtomEntry::SetValue(const char* pszValue, int iIndex1, int iIndex2) {
  if (iIndex1 == 0 && iIndex2 == 0) {
    m_Value.SetText(pszValue ? pszValue : "");
    return;
  }
  if (!m_pIndexed) m_pIndexed = std::make_unique<KyAtomicReactor>();
  const KyString key = indexKey(iIndex1, iIndex2);
  KyAtomEntry& indexed = m_pIndexed->FindOrCreate(key);
  indexed.SetValue(pszValue, 0, 0);
  if (indexed.GetCount() == 0) m_pIndexed->Remove(key);
}

void KyAtomEntry::HoldInterface(IUnknown* p) {
  if (p) p->AddRef();
  if (m_pInterface) m_pInterface->Release();
  m_pInterface = p;
}

unsigned KyAtomEntry::GetCount() const {
  unsigned count = m_Value.IsEmpty() ? 0 : 1;
  if (m_pIndexed && !m_pIndexed->IsEmpty()) ++count;
  if (m_pInterface) ++count;
  return count;
}

// --- the interface ----------------------------------------------------------

KyAtomInterface::KyAtomInterface() {
  auto builtIn = std::make_unique<Provider>();
  builtIn->get = &GetAtom;
  builtIn->set = &SETATOM;
  m_Providers.push_back(std::move(builtIn));
}

KyAtomInterface::~KyAtomInterface() {
  // Providers first: a library goes before the values it may have seen.
  m_Providers.clear();
}

KyAtomInterface* KyAtomInterface::Current() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext ? &pContext->GetAtomInterface() : nullptr;
}

std::vector<KyString> KyAtomInterface::GetProviderNames() const {
  std::vector<KyString> names;
  for (const auto& provider : m_Providers) names.push_back(provider->name);
  return names;
}

int KyAtomInterface::InstallProvider(const char* pszLibrary) {
  if (!pszLibrary || !*pszLibrary) return 0;
  KyString name(pszLibrary);
  if (name.Find('.') < 0) name += ".DLL";
  name.MakeUpper();
  auto provider = std::make_unique<Provider>();
  provider->name = name;
  provider->module.reset(KyLoadLibraryQuietly(name));
  if (!provider->module) return 0;
  provider->get = reinterpret_cast<KyGetAtomProc>(GetProcAddress(provider->module.get(), "GETATOM"));
  provider->set = reinterpret_cast<KySetAtomProc>(GetProcAddress(provider->module.get(), "SETATOM"));
  if (!provider->get || !provider->set) return 0;  // the entry and its library go here
  m_Providers.insert(m_Providers.begin(), std::move(provider));
  return 1;
}

int KyAtomInterface::offerRead(char* pszBuffer, const char* pszName, int iIndex1, int iIndex2) {
  // A provider may install another while it runs: walk by position over a
  // snapshot of the chain.
  std::vector<Provider*> chain;
  for (auto& provider : m_Providers) chain.push_back(provider.get());
  for (Provider* provider : chain) {
    if (!provider->get) {
      m_Nucleus.iResult = 0;
      continue;
    }
    std::memset(pszBuffer, 0, KyAtomValueLength + 1);
    if (provider->get(pszBuffer, pszName, iIndex1, iIndex2, &m_Nucleus)) {
      pszBuffer[KyAtomValueLength] = '\0';
      return 1;
    }
  }
  return 0;
}

int KyAtomInterface::offerWrite(const char* pszValue, const char* pszName, int iIndex1, int iIndex2) {
  std::vector<Provider*> chain;
  for (auto& provider : m_Providers) chain.push_back(provider.get());
  for (Provider* provider : chain) {
    if (!provider->set) {
      m_Nucleus.iResult = 0;
      continue;
    }
    if (provider->set(pszValue, pszName, iIndex1, iIndex2, &m_Nucleus)) return 1;
  }
  return 0;
}

KyString KyAtomInterface::storedValue(const KyString& name, int iIndex1, int iIndex2) const {
  const KyAtomEntry* pEntry = m_Store.Find(name);
  return pEntry ? pEntry->GetValue(iIndex1, iIndex2) : KyString();
}

int KyAtomInterface::GetValue(KyCharFld& value, const char* pszName, int iIndex1, int iIndex2,
                              KyFunctionData* pFunction) {
  value.SetText("");
  m_Nucleus.iStatus = 0;
  m_Nucleus.pContext = pFunction;
  const char* name = pszName ? pszName : "";
  char buffer[KyAtomValueLength + 1];
  if (offerRead(buffer, name, iIndex1, iIndex2)) {
    value.SetText(buffer);
    return 1;
  }
  value.SetText(storedValue(KyString(name), iIndex1, iIndex2));
  return 0;
}

int KyAtomInterface::SetValue(const char* pszValue, const char* pszName, int iIndex1, int iIndex2,
                              void* pContext) {
  m_Nucleus.iStatus = 0;
  m_Nucleus.pContext = pContext;
  const char* value = pszValue ? pszValue : "";
  const KyString name(pszName ? pszName : "");
  if (offerWrite(value, name, iIndex1, iIndex2)) return 1;
  KyAtomEntry& entry = m_Store.FindOrCreate(name);
  entry.SetValue(value, iIndex1, iIndex2);
  if (entry.GetCount() == 0) m_Store.Remove(name);
  return 0;
}

int KyAtomInterface::SetComValue(KyComFld& field, const char* pszName, int iIndex1, int iIndex2) {
  const KyString name(pszName ? pszName : "");
  m_Store.Remove(name);
  KyAtomEntry& entry = m_Store.FindOrCreate(name);
  entry.HoldInterface(field.GetInterface());
  field.AddToGlobalTable();
  entry.SetValue(field.GetTableKey(), iIndex1, iIndex2);
  // The identifying text is what a read finds the object by: without it
  // (no thread context, no object) the entry is of no use.
  if (entry.GetValue(iIndex1, iIndex2).IsEmpty()) m_Store.Remove(name);
  return 0;
}

int KyAtomInterface::GetComValue(KyComFld& field, const char* pszName, int iIndex1, int iIndex2,
                                 KyFunctionData* pFunction) {
  const KyString name(pszName ? pszName : "");
  const KyAtomEntry* pEntry = m_Store.Find(name);
  if (!pEntry) return 0;
  const KyString key = pEntry->GetValue(iIndex1, iIndex2);
  KyAppContext* pContext = KyAppContext::Current();
  if (key.IsEmpty() || !pContext) return 0;
  auto it = pContext->m_ComObjects.find(key);
  // Table keys are addresses and may be reused after the first field went:
  // the object must also be the one this entry holds.
  if (it == pContext->m_ComObjects.end() || !it->second || it->second->GetInterface() != pEntry->GetInterface())
    return 0;
  field.SetInterface(pEntry->GetInterface());
  field.SetFunctionData(pFunction);
  return 0;
}

namespace {

KyString windowClass(HWND hWnd) {
  char name[KyPropertyClassLength + 1] = {};
  if (hWnd) GetClassNameA(hWnd, name, sizeof name);
  return KyString(name);
}

}  // namespace

int KyAtomInterface::GetControlProperty(HWND hWnd, const char* pszProperty, KyString& value1, KyString& value2) {
  const KyString className = windowClass(hWnd);
  char out1[KyPropertyOutputSize] = {}, out2[KyPropertyOutputSize] = {};
  KyPropertyAtom record;
  record.pszClassName = className;
  record.pszPropertyName = pszProperty ? pszProperty : "";
  record.hWnd = hWnd;
  record.pszValue[0] = out1;
  record.pszValue[1] = out2;
  record.cbOutput = KyPropertyOutputSize;
  const int result = SetValue("", "GetProperty", 0, 0, &record);
  out1[KyPropertyOutputSize - 1] = out2[KyPropertyOutputSize - 1] = '\0';
  value1 = out1;
  value2 = out2;
  return result;
}

int KyAtomInterface::SetControlProperty(HWND hWnd, const char* pszProperty, const char* const pszValues[5]) {
  const KyString className = windowClass(hWnd);
  // The provider gets copies: the caller's texts are never written.
  KyString values[5];
  KyPropertyAtom record;
  record.pszClassName = className;
  record.pszPropertyName = pszProperty ? pszProperty : "";
  record.hWnd = hWnd;
  for (int i = 0; i < 5; ++i) {
    values[i] = pszValues && pszValues[i] ? pszValues[i] : "";
    record.pszValue[i] = values[i].GetBuffer(values[i].GetLength());
  }
  const int result = SetValue("", "SetProperty", 0, 0, &record);
  for (KyString& value : values) value.ReleaseBuffer();
  return result;
}

// --- the core run-time's own provider ---------------------------------------

extern "C" int GETATOM(char* pszValue, const char* pszName, int, int, KyNucleus*) {
  if (!pszValue || !pszName || _stricmp(pszName, "*App.Name") != 0) return 0;
  const CWinApp* pApp = AfxGetApp();
  const char* name = pApp && pApp->m_pszAppName ? pApp->m_pszAppName : "";
  lstrcpynA(pszValue, name, KyAtomValueLength + 1);
  return 1;
}

extern "C" int GetAtom(char*, const char*, int, int, KyNucleus*) { return 0; }

extern "C" int SETATOM(const char* pszValue, const char* pszName, int, int, KyNucleus*) {
  if (!pszName || _stricmp(pszName, "*Atom.Install") != 0) return 0;
  if (KyAtomInterface* pInterface = KyAtomInterface::Current()) pInterface->InstallProvider(pszValue);
  return 1;
}

extern "C" int SetAtom(const char* pszValue, const char* pszName, int iIndex1, int iIndex2, KyNucleus* pNucleus) {
  return SETATOM(pszValue, pszName, iIndex1, iIndex2, pNucleus);
}
