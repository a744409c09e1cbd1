// The registered ActiveX controls as the browse dialog lists them: one row
// per ProgID under HKEY_CLASSES_ROOT whose class is a control with a
// server, and, when asked for, the type library that describes it.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

#include "KyComInfo.h"

class AFX_EXT_CLASS KyActiveXInfoImpl {
 public:
  // classText: a ProgID or a CLSID text; withTypeInfo: read the class's
  // registered type library into m_doc (left null when any step fails).
  KyActiveXInfoImpl(const char* displayName, const char* classText, BOOL withTypeInfo);

  // The row's caption: the caption text when there is one, else the class text.
  CString GetCaption() const { return m_caption.IsEmpty() ? m_classText : m_caption; }
  BOOL HasHelp() const { return m_doc && m_doc->HasHelp(); }
  // The class's server file ("Location:"), in-process first; "" for none.
  CString GetServerPath() const;

  CString m_displayName;
  CString m_classText;
  CString m_clsidText;  // the class's CLSID in braces ("" when it has none)
  CString m_keyPath;    // "CLSID\" + the CLSID text + "\"
  CString m_caption;
  std::unique_ptr<KyComDoc> m_doc;
};

class AFX_EXT_CLASS KyActiveXInfo {
 public:
  // Shows the browse dialog of registered controls; on OK fills the chosen
  // row's display name and ProgID and answers whether the name is not empty.
  static BOOL BrowseForActiveXControl(CWnd* parent, CString& displayName, CString& progId);
};

namespace ax {

// The rows of the browse dialog, in the registry's order; a display name
// already listed is not listed again. Empty when HKEY_CLASSES_ROOT cannot
// be read.
std::vector<std::unique_ptr<KyActiveXInfoImpl>> RegisteredControls(BOOL withTypeInfo);

}  // namespace ax
