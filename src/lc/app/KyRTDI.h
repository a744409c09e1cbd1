// KyRTDI: the design information a generated function registers at run
// time: the functions it calls, its variables and their fields, with type
// letters and lengths. The call manager takes called functions and their
// locations from it, the parameter streams the variables and fields.
//
// This is the part the calls and the parameter streams use: the records,
// their arrays and the registrars. Qualified design names for the debugger
// come with the debugger binding.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "KyString.h"

class KyFunctionData;
class KyVariable;
class KyRTType;

class KyRTDI {
 public:
  enum eKind { Function = 0, Variable = 1, Field = 2 };
  KyRTDI(int iKind, DWORD dwObjectId, const char* pszDesignName, const char* pszImplementationName)
      : m_iKind(iKind), m_dwObjectId(dwObjectId), m_pszDesignName(pszDesignName),
        m_pszImplementationName(pszImplementationName) {}
  virtual ~KyRTDI() = default;

  int m_iKind;
  DWORD m_dwObjectId;
  const char* m_pszDesignName;          // not copied: generated code passes literals
  const char* m_pszImplementationName;  // not copied
  void* m_pCallerPointer = nullptr;     // functions only: the entry of a type 'I' call

  // Registrars (each stores a new record at the index, replacing one there).
  static void AddFnc(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                     const char* pszImplementationName, char cType, char cLanguage, const char* pszLibraryName,
                     const char* pszLocationName, const char* pszConnectionName, char cSystem, void* pPointer);
  static void AddFnc(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                     const char* pszImplementationName, char cType, char cLanguage, const char* pszLibraryName,
                     const char* pszLocationName, char cSystem, void* pPointer);
  static void AddVar(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                     const char* pszImplementationName, char cVarClass, const char* pszScope, WORD wOccurrences);
  static void AddFld(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                     const char* pszImplementationName, char cType, char cPCType, char cAS400Type, WORD wLength,
                     WORD wDecimals, WORD wLength2, WORD wDecimals2);
  static void AddFld(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                     const char* pszImplementationName, char cType, char cPCType, char cAS400Type, char cSQLType,
                     WORD wLength, WORD wDecimals, WORD wLength2, WORD wDecimals2);
  static void AddFncVar(KyFunctionData* pFunction, KyVariable* pVariable, int iMapIndex, int iVarIndex,
                        WORD wOccurrence);
  static void AddVarFld(KyVariable* pVariable, KyRTType* pField, int iMapIndex, int iFieldIndex, char cUsage,
                        WORD wNumber);
  // System type of a call from its language letter (for the given '*').
  static char SystemFromLanguage(char cLanguage);
  // Every called function whose implementation name the call manager's
  // location table knows (with a location that is not empty) takes that
  // location; with fReload the table is read again first.
  static void RefreshLocations(KyFunctionData* pFunction, int fReload);
};

class KyRTDIFnc : public KyRTDI {
 public:
  using KyRTDI::KyRTDI;
  char m_cType = 'E';      // KyFncTypeSys: the call kinds of the call manager
  char m_cLanguage = 'W';  // KyFncLanguageSys
  const char* m_pszLibraryName = nullptr;
  KyString m_LocationName;
  KyString m_ConnectionName;
  char m_cSystem = 'L';  // KySystemType
};

class KyRTDIVar : public KyRTDI {
 public:
  using KyRTDI::KyRTDI;
  char m_cVarClass = 0;  // 'I' input, 'O' output, 'L' environment, ...
  const char* m_pszScope = nullptr;
  WORD m_wOccurrences = 0;
};

class KyRTDIFld : public KyRTDI {
 public:
  using KyRTDI::KyRTDI;
  char m_cType = 0;  // 'c' character, 'n' number, 'd' date, 't' time, 'z' timestamp, 'b' large object, 's' skipped
  char m_cPCType = 0;
  char m_cAS400Type = 0;
  char m_cSQLType = 0;
  WORD m_wLength = 0;
  WORD m_wDecimals = 0;
  WORD m_wLength2 = 0;
  WORD m_wDisplayLength = 0;
  WORD m_wDecimals2 = 0;
  // The display length by type (and PC type for numbers).
  void ComputeDisplayLength();
};

struct KyRTDIFncVarMap {
  KyVariable* m_pVariable = nullptr;
  KyRTDIVar* m_pVar = nullptr;
  WORD m_wOccurrence = 0;
};

struct KyRTDIVarFldMap {
  KyRTType* m_pField = nullptr;
  KyRTDIFld* m_pFld = nullptr;
  char m_cUsage = 0;
  WORD m_wNumber = 0;
};

// An array indexed by the generator's index; owns its entries.
template <typename T>
class KyRTDIArray {
 public:
  void Set(int iIndex, T* pEntry) {
    if (iIndex < 0) {
      delete pEntry;
      return;
    }
    if (static_cast<size_t>(iIndex) >= m_Entries.size()) m_Entries.resize(iIndex + 1);
    m_Entries[iIndex].reset(pEntry);
  }
  T* At(int iIndex) const {
    return iIndex >= 0 && static_cast<size_t>(iIndex) < m_Entries.size() ? m_Entries[iIndex].get() : nullptr;
  }
  int GetCount() const { return static_cast<int>(m_Entries.size()); }
  void Clear() { m_Entries.clear(); }

 private:
  std::vector<std::unique_ptr<T>> m_Entries;
};
