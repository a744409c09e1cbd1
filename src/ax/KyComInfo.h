// The information model of a control's automation interface, built from
// its type information: methods, properties, events, their parameters and
// data types, enumerations and help. Every node owns its children and is
// filled once, by its constructor; a failing type-information call leaves
// the node with what was filled so far.
#pragma once

#include <afx.h>
#include <oletypelib.h>

#include <functional>
#include <memory>
#include <vector>

// Documentation of a member, a type (member id MEMBERID_NIL) or a library.
// A text that cannot be allocated (GetDocumentation answering
// E_OUTOFMEMORY, or no room for the copy) ends the construction with the
// COM error E_OUTOFMEMORY (_com_error); the nodes that hold documentation
// let it through, and the library's operations that build a model catch it.
class AFX_EXT_CLASS KyComDoc {
 public:
  KyComDoc(ITypeInfo* info, MEMBERID memid);
  explicit KyComDoc(ITypeLib* library);

  BOOL HasHelp() const { return !m_helpFile.IsEmpty(); }
  const CString& GetDescription() const { return m_docString; }
  // A ".HLP" file through WinHelp on the main window (HELP_CONTEXT with the
  // context, HELP_FINDER without), answering whether it was asked; a ".CHM"
  // or "HTML" file through HTML Help, answering 0; anything else 0.
  BOOL ShowHelp() const;

  DWORD m_helpContext = 0;
  CString m_docString;  // the name when the library has no documentation text
  CString m_name;
  CString m_helpFile;

 private:
  void fill(HRESULT hr, BSTR name, BSTR doc, DWORD help, BSTR file);
};

class AFX_EXT_CLASS KyComInfo {
 public:
  using Visitor = std::function<void(KyComInfo&)>;
  KyComInfo() = default;
  KyComInfo(const KyComInfo&) = delete;
  KyComInfo& operator=(const KyComInfo&) = delete;
  virtual ~KyComInfo() = default;

  // The documentation's name, "" without documentation.
  virtual CString GetName() const;
  // Calls `visit` for every child and then lets the child visit its own.
  virtual void VisitChildren(const Visitor& visit) {}

  const KyComDoc* GetDoc() const { return m_doc.get(); }

 protected:
  std::unique_ptr<KyComDoc> m_doc;
};

class KyComEnum;

class AFX_EXT_CLASS KyComDataType : public KyComInfo {
 public:
  KyComDataType(ITypeInfo* info, const TYPEDESC* desc);

  // The type text when there is one, else the type name.
  CString GetName() const override;
  void VisitChildren(const Visitor& visit) override;

  BOOL IsBoolean() const { return m_vt == VT_BOOL; }
  BOOL IsString() const { return m_typeText == "String"; }
  BOOL IsNotString() const { return !IsString(); }
  BOOL IsColor() const { return m_typeName == "OLE_COLOR"; }
  BOOL IsFont() const { return m_typeName == "IFontDisp"; }
  BOOL IsPicture() const { return m_typeName == "IPictureDisp"; }

  DWORD m_vt = VT_EMPTY;  // the VARTYPE
  BOOL m_isPointer = FALSE;
  std::unique_ptr<KyComDataType> m_pointsTo;
  std::unique_ptr<KyComEnum> m_enum;
  CString m_typeName;
  CString m_typeText;
};

class AFX_EXT_CLASS KyComParameter : public KyComInfo {
 public:
  enum Direction { None = 0, In = 1, Out = 2, Return = 3 };
  KyComParameter(ITypeInfo* info, const FUNCDESC* func, int index, const char* name);

  CString GetName() const override { return m_name; }
  void VisitChildren(const Visitor& visit) override;

  CString m_name;
  CString m_typeText;  // the data type's name
  std::unique_ptr<KyComDataType> m_type;
  int m_direction = None;  // "in" wins over "out"
  BOOL m_optional = FALSE;
};

class AFX_EXT_CLASS KyComProperty : public KyComInfo {
 public:
  void VisitChildren(const Visitor& visit) override;
  virtual const KyComDataType* GetDataType() const = 0;
  virtual BOOL IsVisibleProperty() const = 0;
  virtual BOOL IsReadOnly() const { return m_readOnly; }

  MEMBERID m_memid = MEMBERID_NIL;
  BOOL m_readOnly = TRUE;
  std::vector<std::unique_ptr<KyComParameter>> m_params;
};

class AFX_EXT_CLASS KyComMethodInfo : public KyComProperty {
 public:
  enum Kind { Method = 0, Event = 1, PropertyGet = 2, PropertyPut = 3, PropertyPutRef = 4 };
  KyComMethodInfo(ITypeInfo* info, UINT index, BOOL isEvent);

  CString GetName() const override;
  // For a property put with parameters the first parameter's type; for a
  // property get the return type; else none.
  const KyComDataType* GetDataType() const override;
  BOOL IsVisibleProperty() const override;
  BOOL IsReadOnly() const override { return IsVisibleProperty() && m_readOnly; }

  int m_kind = Method;
  INVOKEKIND m_invokeKind = INVOKE_FUNC;
  WORD m_funcFlags = 0;
  std::unique_ptr<KyComDataType> m_returnType;
  CString m_name;
};

class AFX_EXT_CLASS KyComVariable : public KyComProperty {
 public:
  KyComVariable(ITypeInfo* info, UINT index);

  CString GetName() const override { return m_name; }
  const KyComDataType* GetDataType() const override { return m_type.get(); }
  BOOL IsVisibleProperty() const override { return !(m_varFlags & VARFLAG_FHIDDEN); }
  BOOL IsReadOnly() const override { return IsVisibleProperty() && (m_varFlags & VARFLAG_FREADONLY); }
  void VisitChildren(const Visitor& visit) override;

  CString m_name;
  CString m_value;  // a constant's value as text
  std::unique_ptr<KyComDataType> m_type;
  WORD m_varFlags = 0;
  VARKIND m_varKind = VAR_PERINSTANCE;
};

class AFX_EXT_CLASS KyComEnum : public KyComInfo {
 public:
  KyComEnum(ITypeInfo* info, const TYPEATTR* attr);
  void VisitChildren(const Visitor& visit) override;

  std::vector<std::unique_ptr<KyComVariable>> m_constants;
  const KyComDataType* m_type = nullptr;  // the first constant's
};

// One type-attribute record with the type information it came from; both
// are released together.
class KyTypeAttr {
 public:
  explicit KyTypeAttr(ITypeInfo* info);
  KyTypeAttr(const KyTypeAttr&) = delete;
  KyTypeAttr& operator=(const KyTypeAttr&) = delete;
  ~KyTypeAttr();
  const TYPEATTR* get() const { return m_attr; }
  const TYPEATTR* operator->() const { return m_attr; }
  explicit operator bool() const { return m_attr != nullptr; }

 private:
  ITypeInfo* m_info = nullptr;
  TYPEATTR* m_attr = nullptr;
};

// An open registry key, closed by the destructor.
class KyRegKey {
 public:
  KyRegKey() = default;
  KyRegKey(const KyRegKey&) = delete;
  KyRegKey& operator=(const KyRegKey&) = delete;
  ~KyRegKey() { Close(); }

  BOOL Open(HKEY parent, const char* path);
  void Close();
  // RegEnumKeyA and RegQueryValueA; FALSE on failure.
  BOOL EnumKey(DWORD index, char* name, DWORD size) const;
  BOOL QueryValue(const char* subKey, char* text, LONG size) const;

  HKEY m_key = nullptr;
  DWORD m_index = 0;
};
