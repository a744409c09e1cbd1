// The named collections: their element types compiled once, and their
// run-time classes.
#include <afxcoll.h>

template class CList<void*, void*>;
template class CList<CObject*, CObject*>;
template class CList<CString, const CString&>;
template class CArray<void*, void*>;
template class CArray<CObject*, CObject*>;
template class CArray<BYTE, BYTE>;
template class CArray<WORD, WORD>;
template class CArray<DWORD, DWORD>;  // also CUIntArray: UINT is DWORD
template class CArray<CString, const CString&>;
template class CMap<void*, void*, void*, void*>;
template class CMap<void*, void*, WORD, WORD>;
template class CMap<WORD, WORD, void*, void*>;
template class CMap<WORD, WORD, CObject*, CObject*>;
template class CMap<CString, LPCSTR, void*, void*>;
template class CMap<CString, LPCSTR, CObject*, CObject*>;
template class CMap<CString, LPCSTR, CString, LPCSTR>;

IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CObList, CObject)
IMPLEMENT_DYNAMIC(CStringList, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CObArray, CObject)
IMPLEMENT_DYNAMIC(CByteArray, CObject)
IMPLEMENT_DYNAMIC(CWordArray, CObject)
IMPLEMENT_DYNAMIC(CDWordArray, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToOb, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToOb, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)
