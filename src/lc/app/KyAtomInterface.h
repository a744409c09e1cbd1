// KyAtomInterface: the property atoms of one thread. A read or write of a
// named atom (with two optional indexes) is offered to the chain of
// providers, newest first; when none takes it the value goes to the
// interface's own store, KyAtomicReactor. The built-in provider, always
// last, installs further providers when "*Atom.Install" is written with a
// library name (KyAtomProvider.h is the providers' contract).
//
// Each thread's KyAppContext owns one interface; nothing here is locked.
#pragma once

#include <unknwn.h>
#include <windows.h>

#include "KyAtomProvider.h"
#include "KyCharFld.h"
#include "KyString.h"

#include <map>
#include <memory>
#include <vector>

class KyComFld;
class KyFunctionData;
class KyAtomEntry;

// Atom name -> entry. Names are compared exactly.
class KyAtomicReactor {
 public:
  KyAtomicReactor();
  ~KyAtomicReactor();
  KyAtomEntry* Find(const KyString& name) const;
  KyAtomEntry& FindOrCreate(const KyString& name);
  void Remove(const KyString& name);
  bool IsEmpty() const { return m_Entries.empty(); }

 private:
  std::map<KyString, std::unique_ptr<KyAtomEntry>> m_Entries;
};

// One stored atom: its plain value, the values at index pairs (in a nested
// store under "%d:%d", made on the first indexed write) and a COM interface
// held with one reference.
class KyAtomEntry {
 public:
  KyAtomEntry() = default;
  ~KyAtomEntry();
  KyAtomEntry(const KyAtomEntry&) = delete;
  KyAtomEntry& operator=(const KyAtomEntry&) = delete;

  // The value at the indexes ("" when none).
  KyString GetValue(int iIndex1, int iIndex2) const;
  void SetValue(const char* pszValue, int iIndex1, int iIndex2);
  // Takes a reference of p (null allowed) and releases the one held.
  void HoldInterface(IUnknown* p);
  IUnknown* GetInterface() const { return m_pInterface; }
  // Number of values stored: the plain value when not empty, the indexed
  // ones, and the interface.
  unsigned GetCount() const;

 private:
  static KyString indexKey(int iIndex1, int iIndex2);
  KyCharFld m_Value;
  std::unique_ptr<KyAtomicReactor> m_pIndexed;
  IUnknown* m_pInterface = nullptr;
};

class KyAtomInterface {
 public:
  // Empty store, zeroed nucleus, the built-in provider installed.
  KyAtomInterface();
  // Frees every provider library it loaded, then the store.
  ~KyAtomInterface();
  KyAtomInterface(const KyAtomInterface&) = delete;
  KyAtomInterface& operator=(const KyAtomInterface&) = delete;

  // The calling thread's interface (its context's), or null without one.
  static KyAtomInterface* Current();

  // 1 when a provider answered (its text is the value), else 0 and the
  // stored value ("" for a name never written).
  int GetValue(KyCharFld& value, const char* pszName, int iIndex1, int iIndex2, KyFunctionData* pFunction);
  // 1 when a provider took it, else 0 and the value is stored; an atom left
  // without any value is removed.
  int SetValue(const char* pszValue, const char* pszName, int iIndex1, int iIndex2, void* pContext);
  // COM values: the entry holds the field's interface with a reference and
  // its table key as the value; reading attaches the same object when the
  // thread's table still has it. Both answer 0.
  int GetComValue(KyComFld& field, const char* pszName, int iIndex1, int iIndex2, KyFunctionData* pFunction);
  int SetComValue(KyComFld& field, const char* pszName, int iIndex1, int iIndex2);

  // Loads the library (".DLL" appended to a name without ".", upper-cased)
  // and puts it at the head of the chain; 0 when it cannot be loaded or
  // lacks GETATOM or SETATOM.
  int InstallProvider(const char* pszLibrary);

  // Control properties: the property record is filled from the window (its
  // class) and offered as "GetProperty" / "SetProperty". Get gives the two
  // output texts. The result is the provider's (0 when none took it).
  int GetControlProperty(HWND hWnd, const char* pszProperty, KyString& value1, KyString& value2);
  int SetControlProperty(HWND hWnd, const char* pszProperty, const char* const pszValues[5]);

  const KyNucleus& GetNucleus() const { return m_Nucleus; }
  // The installed providers' library names, newest first ("" for the built-in one).
  std::vector<KyString> GetProviderNames() const;

 private:
  struct Provider;
  int offerRead(char* pszBuffer, const char* pszName, int iIndex1, int iIndex2);
  int offerWrite(const char* pszValue, const char* pszName, int iIndex1, int iIndex2);
  KyString storedValue(const KyString& name, int iIndex1, int iIndex2) const;

  std::vector<std::unique_ptr<Provider>> m_Providers;  // head first
  KyNucleus m_Nucleus;
  KyAtomicReactor m_Store;
};

// The core run-time's own provider entries (C linkage, exported by name).
extern "C" {
int GETATOM(char* pszValue, const char* pszName, int iIndex1, int iIndex2, KyNucleus* pNucleus);
int GetAtom(char* pszValue, const char* pszName, int iIndex1, int iIndex2, KyNucleus* pNucleus);
int SETATOM(const char* pszValue, const char* pszName, int iIndex1, int iIndex2, KyNucleus* pNucleus);
int SetAtom(const char* pszValue, const char* pszName, int iIndex1, int iIndex2, KyNucleus* pNucleus);
}
