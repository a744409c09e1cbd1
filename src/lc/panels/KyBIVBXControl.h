// KyBIVBXControl: one VBX control through the VBX emulation library, which
// is bound by name with the first control (all 29 entries, process-wide)
// and stays bound until VBTerm32. Without the library, or with an entry
// missing, VBInit32 answers 0 and every operation fails with 0.
//
// Property access (name, element: -1 for a plain property) keeps the last
// error: no such property, or an element given for a property that is not
// an array (NoProperty); a property of another category than the
// operation's (StringExpected ... PictureExpected); else the library was
// asked (LibraryCall) and its result is the answer.
#pragma once

#include <windows.h>

#include <vbxemul.h>

#include "KyString.h"

class KyVBXPicMngr;

class KyBIVBXControl {
 public:
  enum VBXError {
    NoProperty = 0,
    StringExpected = 1,
    NumberExpected = 2,
    FloatExpected = 3,
    PictureExpected = 4,
    LibraryCall = 5,
  };
  enum Category { CategoryString, CategoryNumber, CategoryFloat, CategoryPicture };

  // The pictures are shared through the manager given (a panel's); without
  // one the control keeps its own.
  explicit KyBIVBXControl(KyVBXPicMngr* pPictures = nullptr);
  // The control's window goes; pictures stay with their manager.
  virtual ~KyBIVBXControl();
  KyBIVBXControl(const KyBIVBXControl&) = delete;
  KyBIVBXControl& operator=(const KyBIVBXControl&) = delete;

  // 1 at once when the library is bound; else loads "BIVBX30.32N" (on
  // Windows NT; "BIVBX30.32C" otherwise), binds every entry and answers
  // VBXInit32's result; 0 when the library or an entry is missing.
  static int VBInit32(HINSTANCE hInstance, const char* pszText);
  // Ends the library (its controls go with it) and forgets it.
  static void VBTerm32();

  // Makes the control in the parent window; 1 with a VBX handle.
  int Create(const char* pszFile, const char* pszClass, const char* pszText, int x, int y, int cx, int cy,
             HWND hParent, UINT nId);
  HCTL GetVBXHandle() const { return m_hCtl; }
  HWND GetHwnd() const { return m_hWnd; }
  VBXError GetError() const { return m_Error; }

  LONG GetNumProperty(const char* pszName, int iElement = -1);
  int SetNumProperty(const char* pszName, LONG lValue, int iElement = -1);
  float GetFloatProperty(const char* pszName, int iElement = -1);
  int SetFloatProperty(const char* pszName, float fValue, int iElement = -1);
  KyString GetStrProperty(const char* pszName, int iElement = -1);
  int SetStrProperty(const char* pszName, const char* pszValue, int iElement = -1);
  // The picture of the file (loaded once per manager); its library handle
  // goes whole as the property value.
  int SetPictureProperty(const char* pszName, const char* pszFile, int iElement = -1);
  // The category of the property; false when there is no such property.
  bool GetCategory(const char* pszName, Category& category);

  int GetPropIndex(const char* pszName);
  int GetEventIndex(const char* pszName);
  KyString GetEventName(int iIndex);

  int AddItem(const char* pszText, int iIndex);
  int RemoveItem(int iIndex);
  int ClearList();
  int Move(int iLeft, int iTop, int iWidth, int iHeight);
  int Refresh();

 private:
  // The property's index when the operation may go to the library.
  int prepare(const char* pszName, int iElement, Category expected);
  int setValue(int iProperty, int iElement, LONG_PTR value);
  bool getValue(int iProperty, int iElement, LONG_PTR& value);

  HCTL m_hCtl = nullptr;
  HWND m_hWnd = nullptr;
  KyVBXPicMngr* m_pPictures;
  KyVBXPicMngr* m_pOwnPictures = nullptr;  // without a manager's
  VBXError m_Error = NoProperty;
};
