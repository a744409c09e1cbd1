// The framework's named collections: lists, arrays and maps of pointers,
// objects, strings and integers. Each is the collection template of
// afxtempl.h for its element types, with run-time class information.
// Maps compare string keys case-sensitively.
#pragma once

#include "afxtempl.h"

// The element types are compiled once, in the library (coll.cpp).
extern template class CList<void*, void*>;
extern template class CList<CObject*, CObject*>;
extern template class CList<CString, const CString&>;
extern template class CArray<void*, void*>;
extern template class CArray<CObject*, CObject*>;
extern template class CArray<BYTE, BYTE>;
extern template class CArray<WORD, WORD>;
extern template class CArray<DWORD, DWORD>;  // also CUIntArray: UINT is DWORD
extern template class CArray<CString, const CString&>;
extern template class CMap<void*, void*, void*, void*>;
extern template class CMap<void*, void*, WORD, WORD>;
extern template class CMap<WORD, WORD, void*, void*>;
extern template class CMap<WORD, WORD, CObject*, CObject*>;
extern template class CMap<CString, LPCSTR, void*, void*>;
extern template class CMap<CString, LPCSTR, CObject*, CObject*>;
extern template class CMap<CString, LPCSTR, CString, LPCSTR>;

#define AFX_DECLARE_COLLECTION(class_name, template_name, ...) \
  class class_name : public template_name<__VA_ARGS__> {        \
    DECLARE_DYNAMIC(class_name)                                 \
   public:                                                      \
    using template_name<__VA_ARGS__>::template_name;            \
  };

AFX_DECLARE_COLLECTION(CPtrList, CList, void*, void*)
AFX_DECLARE_COLLECTION(CObList, CList, CObject*, CObject*)
AFX_DECLARE_COLLECTION(CStringList, CList, CString, const CString&)

AFX_DECLARE_COLLECTION(CPtrArray, CArray, void*, void*)
AFX_DECLARE_COLLECTION(CObArray, CArray, CObject*, CObject*)
AFX_DECLARE_COLLECTION(CByteArray, CArray, BYTE, BYTE)
AFX_DECLARE_COLLECTION(CWordArray, CArray, WORD, WORD)
AFX_DECLARE_COLLECTION(CDWordArray, CArray, DWORD, DWORD)
AFX_DECLARE_COLLECTION(CUIntArray, CArray, UINT, UINT)
AFX_DECLARE_COLLECTION(CStringArray, CArray, CString, const CString&)

AFX_DECLARE_COLLECTION(CMapPtrToPtr, CMap, void*, void*, void*, void*)
AFX_DECLARE_COLLECTION(CMapPtrToWord, CMap, void*, void*, WORD, WORD)
AFX_DECLARE_COLLECTION(CMapWordToPtr, CMap, WORD, WORD, void*, void*)
AFX_DECLARE_COLLECTION(CMapWordToOb, CMap, WORD, WORD, CObject*, CObject*)
AFX_DECLARE_COLLECTION(CMapStringToPtr, CMap, CString, LPCSTR, void*, void*)
AFX_DECLARE_COLLECTION(CMapStringToOb, CMap, CString, LPCSTR, CObject*, CObject*)
AFX_DECLARE_COLLECTION(CMapStringToString, CMap, CString, LPCSTR, CString, LPCSTR)

#undef AFX_DECLARE_COLLECTION
