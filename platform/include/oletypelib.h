// Type libraries (OLE Automation): ITypeLib and ITypeInfo to read them,
// ICreateTypeLib2 and ICreateTypeInfo to write them, in the documented
// binary form ("MSFT"). Windows declares these in oaidl.h and oleauto.h;
// here they have a header of their own, which includes both.
//
// A type library file names its types, their members, parameters, data
// types, enumerations and help. Names and documentation are kept as bytes
// of the library's code page (characters beyond 0xFF are written as "?").
// References between types work within one library; referring to a type
// of another library (AddRefTypeInfo) answers TYPE_E_CANTLOADLIBRARY.
// Registration writes HKEY_CLASSES_ROOT "TypeLib\{libid}\<major>.<minor>"
// (hexadecimal, as Windows writes it) with "<lcid>\win64", "FLAGS" and
// "HELPDIR" under it.
#pragma once

#include "oaidl.h"
#include "oleauto.h"
#include "objbase.h"

struct ITypeLib;
struct ITypeComp;

typedef DWORD HREFTYPE;

typedef enum tagTYPEKIND {
  TKIND_ENUM = 0,
  TKIND_RECORD,
  TKIND_MODULE,
  TKIND_INTERFACE,
  TKIND_DISPATCH,
  TKIND_COCLASS,
  TKIND_ALIAS,
  TKIND_UNION,
  TKIND_MAX
} TYPEKIND;

typedef enum tagSYSKIND { SYS_WIN16 = 0, SYS_WIN32, SYS_MAC, SYS_WIN64 } SYSKIND;
typedef enum tagREGKIND { REGKIND_DEFAULT = 0, REGKIND_REGISTER, REGKIND_NONE } REGKIND;
typedef enum tagFUNCKIND { FUNC_VIRTUAL = 0, FUNC_PUREVIRTUAL, FUNC_NONVIRTUAL, FUNC_STATIC, FUNC_DISPATCH } FUNCKIND;
typedef enum tagINVOKEKIND {
  INVOKE_FUNC = 1,
  INVOKE_PROPERTYGET = 2,
  INVOKE_PROPERTYPUT = 4,
  INVOKE_PROPERTYPUTREF = 8
} INVOKEKIND;
typedef enum tagCALLCONV { CC_FASTCALL = 0, CC_CDECL = 1, CC_PASCAL, CC_MACPASCAL, CC_STDCALL, CC_MAX = 9 } CALLCONV;
typedef enum tagVARKIND { VAR_PERINSTANCE = 0, VAR_STATIC, VAR_CONST, VAR_DISPATCH } VARKIND;

enum tagTYPEFLAGS {
  TYPEFLAG_FAPPOBJECT = 0x1,
  TYPEFLAG_FCANCREATE = 0x2,
  TYPEFLAG_FLICENSED = 0x4,
  TYPEFLAG_FPREDECLID = 0x8,
  TYPEFLAG_FHIDDEN = 0x10,
  TYPEFLAG_FCONTROL = 0x20,
  TYPEFLAG_FDUAL = 0x40,
  TYPEFLAG_FNONEXTENSIBLE = 0x80,
  TYPEFLAG_FOLEAUTOMATION = 0x100,
  TYPEFLAG_FRESTRICTED = 0x200,
  TYPEFLAG_FAGGREGATABLE = 0x400,
  TYPEFLAG_FREPLACEABLE = 0x800,
  TYPEFLAG_FDISPATCHABLE = 0x1000,
  TYPEFLAG_FREVERSEBIND = 0x2000,
  TYPEFLAG_FPROXY = 0x4000
};
enum tagFUNCFLAGS {
  FUNCFLAG_FRESTRICTED = 0x1,
  FUNCFLAG_FSOURCE = 0x2,
  FUNCFLAG_FBINDABLE = 0x4,
  FUNCFLAG_FREQUESTEDIT = 0x8,
  FUNCFLAG_FDISPLAYBIND = 0x10,
  FUNCFLAG_FDEFAULTBIND = 0x20,
  FUNCFLAG_FHIDDEN = 0x40,
  FUNCFLAG_FUSESGETLASTERROR = 0x80,
  FUNCFLAG_FDEFAULTCOLLELEM = 0x100,
  FUNCFLAG_FUIDEFAULT = 0x200,
  FUNCFLAG_FNONBROWSABLE = 0x400,
  FUNCFLAG_FREPLACEABLE = 0x800,
  FUNCFLAG_FIMMEDIATEBIND = 0x1000
};
enum tagVARFLAGS {
  VARFLAG_FREADONLY = 0x1,
  VARFLAG_FSOURCE = 0x2,
  VARFLAG_FBINDABLE = 0x4,
  VARFLAG_FREQUESTEDIT = 0x8,
  VARFLAG_FDISPLAYBIND = 0x10,
  VARFLAG_FDEFAULTBIND = 0x20,
  VARFLAG_FHIDDEN = 0x40,
  VARFLAG_FRESTRICTED = 0x80,
  VARFLAG_FDEFAULTCOLLELEM = 0x100,
  VARFLAG_FUIDEFAULT = 0x200,
  VARFLAG_FNONBROWSABLE = 0x400,
  VARFLAG_FREPLACEABLE = 0x800,
  VARFLAG_FIMMEDIATEBIND = 0x1000
};
enum tagLIBFLAGS { LIBFLAG_FRESTRICTED = 0x1, LIBFLAG_FCONTROL = 0x2, LIBFLAG_FHIDDEN = 0x4, LIBFLAG_FHASDISKIMAGE = 0x8 };

#define IMPLTYPEFLAG_FDEFAULT 0x1
#define IMPLTYPEFLAG_FSOURCE 0x2
#define IMPLTYPEFLAG_FRESTRICTED 0x4
#define IMPLTYPEFLAG_FDEFAULTVTABLE 0x8

#define PARAMFLAG_NONE 0x00
#define PARAMFLAG_FIN 0x01
#define PARAMFLAG_FOUT 0x02
#define PARAMFLAG_FLCID 0x04
#define PARAMFLAG_FRETVAL 0x08
#define PARAMFLAG_FOPT 0x10
#define PARAMFLAG_FHASDEFAULT 0x20

#define MEMBERID_NIL DISPID_UNKNOWN

#define TYPE_E_IOERROR ((HRESULT)0x80028CA2L)
#define TYPE_E_INVDATAREAD ((HRESULT)0x80028018L)
#define TYPE_E_UNSUPFORMAT ((HRESULT)0x80028019L)
#define TYPE_E_REGISTRYACCESS ((HRESULT)0x8002801CL)
#define TYPE_E_LIBNOTREGISTERED ((HRESULT)0x8002801DL)
#define TYPE_E_INVALIDSTATE ((HRESULT)0x80028029L)
#define TYPE_E_WRONGTYPEKIND ((HRESULT)0x8002802AL)
#define TYPE_E_ELEMENTNOTFOUND ((HRESULT)0x8002802BL)
#define TYPE_E_NAMECONFLICT ((HRESULT)0x8002802DL)
#define TYPE_E_BADMODULEKIND ((HRESULT)0x800288BDL)
#define TYPE_E_CANTLOADLIBRARY ((HRESULT)0x80029C4AL)

typedef struct tagTYPEDESC {
  union {
    struct tagTYPEDESC* lptdesc;  // VT_PTR, VT_SAFEARRAY
    struct tagARRAYDESC* lpadesc;  // VT_CARRAY
    HREFTYPE hreftype;             // VT_USERDEFINED
  };
  VARTYPE vt;
} TYPEDESC;

typedef struct tagARRAYDESC {
  TYPEDESC tdescElem;
  USHORT cDims;
  SAFEARRAYBOUND rgbounds[1];
} ARRAYDESC;

typedef struct tagIDLDESC {
  ULONG_PTR dwReserved;
  USHORT wIDLFlags;
} IDLDESC;

typedef struct tagPARAMDESCEX {
  ULONG cBytes;
  VARIANTARG varDefaultValue;
} PARAMDESCEX, *LPPARAMDESCEX;

typedef struct tagPARAMDESC {
  LPPARAMDESCEX pparamdescex;
  USHORT wParamFlags;
} PARAMDESC;

typedef struct tagELEMDESC {
  TYPEDESC tdesc;
  union {
    IDLDESC idldesc;
    PARAMDESC paramdesc;
  };
} ELEMDESC, *LPELEMDESC;

typedef struct tagTYPEATTR {
  GUID guid;
  LCID lcid;
  DWORD dwReserved;
  MEMBERID memidConstructor;
  MEMBERID memidDestructor;
  LPOLESTR lpstrSchema;
  ULONG cbSizeInstance;
  TYPEKIND typekind;
  WORD cFuncs;
  WORD cVars;
  WORD cImplTypes;
  WORD cbSizeVft;
  WORD cbAlignment;
  WORD wTypeFlags;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  TYPEDESC tdescAlias;
  IDLDESC idldescType;
} TYPEATTR, *LPTYPEATTR;

typedef struct tagFUNCDESC {
  MEMBERID memid;
  SCODE* lprgscode;
  ELEMDESC* lprgelemdescParam;
  FUNCKIND funckind;
  INVOKEKIND invkind;
  CALLCONV callconv;
  SHORT cParams;
  SHORT cParamsOpt;
  SHORT oVft;
  SHORT cScodes;
  ELEMDESC elemdescFunc;
  WORD wFuncFlags;
} FUNCDESC, *LPFUNCDESC;

typedef struct tagVARDESC {
  MEMBERID memid;
  LPOLESTR lpstrSchema;
  union {
    ULONG oInst;
    VARIANT* lpvarValue;  // VAR_CONST
  };
  ELEMDESC elemdescVar;
  WORD wVarFlags;
  VARKIND varkind;
} VARDESC, *LPVARDESC;

typedef struct tagTLIBATTR {
  GUID guid;
  LCID lcid;
  SYSKIND syskind;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  WORD wLibFlags;
} TLIBATTR, *LPTLIBATTR;

inline constexpr IID IID_ITypeInfo = {0x00020401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ITypeLib = {0x00020402, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ICreateTypeInfo = {0x00020405, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ICreateTypeLib = {0x00020406, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ICreateTypeLib2 = {0x0002040F, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct ITypeInfo : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** ppTypeAttr) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** ppTComp) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC** ppFuncDesc) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVarDesc(UINT index, VARDESC** ppVarDesc) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE* pRefType) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT* pImplTypeFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) = 0;
  virtual HRESULT STDMETHODCALLTYPE Invoke(PVOID pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams,
                                           VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString,
                                                     DWORD* pdwHelpContext, BSTR* pBstrHelpFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID memid, INVOKEKIND invKind, BSTR* pBstrDllName,
                                                BSTR* pBstrName, WORD* pwOrdinal) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo** ppTInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID memid, INVOKEKIND invKind, PVOID* ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, PVOID* ppvObj) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMops(MEMBERID memid, BSTR* pBstrMops) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) = 0;
  virtual void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* pTypeAttr) = 0;
  virtual void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC* pFuncDesc) = 0;
  virtual void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC* pVarDesc) = 0;

 protected:
  ~ITypeInfo() = default;
};
typedef ITypeInfo* LPTYPEINFO;

struct ITypeLib : public IUnknown {
  virtual UINT STDMETHODCALLTYPE GetTypeInfoCount() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, ITypeInfo** ppTInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfoType(UINT index, TYPEKIND* pTKind) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** ppTinfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLibAttr(TLIBATTR** ppTLibAttr) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** ppTComp) = 0;
  // index -1: the library's own documentation.
  virtual HRESULT STDMETHODCALLTYPE GetDocumentation(INT index, BSTR* pBstrName, BSTR* pBstrDocString,
                                                     DWORD* pdwHelpContext, BSTR* pBstrHelpFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsName(LPOLESTR szNameBuf, ULONG lHashVal, BOOL* pfName) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindName(LPOLESTR szNameBuf, ULONG lHashVal, ITypeInfo** ppTInfo,
                                             MEMBERID* rgMemId, USHORT* pcFound) = 0;
  virtual void STDMETHODCALLTYPE ReleaseTLibAttr(TLIBATTR* pTLibAttr) = 0;

 protected:
  ~ITypeLib() = default;
};
typedef ITypeLib* LPTYPELIB;

struct ICreateTypeInfo : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetGuid(REFGUID guid) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTypeFlags(UINT uTypeFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDocString(LPOLESTR pStrDoc) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD dwHelpContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVersion(WORD wMajorVerNum, WORD wMinorVerNum) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddRefTypeInfo(ITypeInfo* pTInfo, HREFTYPE* phRefType) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddFuncDesc(UINT index, FUNCDESC* pFuncDesc) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddImplType(UINT index, HREFTYPE hRefType) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetImplTypeFlags(UINT index, INT implTypeFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAlignment(WORD cbAlignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSchema(LPOLESTR pStrSchema) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddVarDesc(UINT index, VARDESC* pVarDesc) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetFuncAndParamNames(UINT index, LPOLESTR* rgszNames, UINT cNames) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVarName(UINT index, LPOLESTR szName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTypeDescAlias(TYPEDESC* pTDescAlias) = 0;
  virtual HRESULT STDMETHODCALLTYPE DefineFuncAsDllEntry(UINT index, LPOLESTR szDllName, LPOLESTR szProcName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetFuncDocString(UINT index, LPOLESTR szDocString) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVarDocString(UINT index, LPOLESTR szDocString) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetFuncHelpContext(UINT index, DWORD dwHelpContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVarHelpContext(UINT index, DWORD dwHelpContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMops(UINT index, BSTR bstrMops) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTypeIdldesc(IDLDESC* pIdlDesc) = 0;
  virtual HRESULT STDMETHODCALLTYPE LayOut() = 0;

 protected:
  ~ICreateTypeInfo() = default;
};

struct ICreateTypeLib : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateTypeInfo(LPOLESTR szName, TYPEKIND tkind, ICreateTypeInfo** ppCTInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetName(LPOLESTR szName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVersion(WORD wMajorVerNum, WORD wMinorVerNum) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetGuid(REFGUID guid) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDocString(LPOLESTR szDoc) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpFileName(LPOLESTR szHelpFileName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD dwHelpContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLcid(LCID lcid) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLibFlags(UINT uLibFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SaveAllChanges() = 0;

 protected:
  ~ICreateTypeLib() = default;
};

struct ICreateTypeLib2 : public ICreateTypeLib {
  virtual HRESULT STDMETHODCALLTYPE DeleteTypeInfo(LPOLESTR szName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCustData(REFGUID guid, VARIANT* pVarVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpStringContext(ULONG dwHelpStringContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpStringDll(LPOLESTR szFileName) = 0;

 protected:
  ~ICreateTypeLib2() = default;
};

// A library file (a path with a drive or "\" separators is taken as
// Windows spelling); TYPE_E_CANTLOADLIBRARY when it cannot be read,
// TYPE_E_UNSUPFORMAT when it is not a type library. LoadTypeLib registers
// the library as well (REGKIND_DEFAULT); LoadTypeLibEx as asked.
WINOLEAUTAPI LoadTypeLib(LPCOLESTR szFile, ITypeLib** pptlib);
WINOLEAUTAPI LoadTypeLibEx(LPCOLESTR szFile, REGKIND regkind, ITypeLib** pptlib);
// The registered library of that id with the same major version and the
// highest minor version not below the one asked for, for the locale (then
// its primary language, then neutral). TYPE_E_LIBNOTREGISTERED without one.
WINOLEAUTAPI LoadRegTypeLib(REFGUID rguid, WORD wVerMajor, WORD wVerMinor, LCID lcid, ITypeLib** pptlib);
WINOLEAUTAPI RegisterTypeLib(ITypeLib* ptlib, LPCOLESTR szFullPath, LPCOLESTR szHelpDir);
WINOLEAUTAPI UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid, SYSKIND syskind);
// A new library to be written to szFile by SaveAllChanges.
WINOLEAUTAPI CreateTypeLib2(SYSKIND syskind, LPCOLESTR szFile, ICreateTypeLib2** ppctlib);
