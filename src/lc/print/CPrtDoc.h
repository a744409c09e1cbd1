// CPrtDoc: the document of a report; the report itself lives in its view's
// spool file.
#pragma once

#include <afxwin.h>

class CPrtDoc : public CDocument {
  DECLARE_DYNCREATE(CPrtDoc)
 public:
  CPrtDoc() = default;
  // Stores the flag only: a report is never saved, so closing it asks nothing.
  void SetModifiedFlag(BOOL bModified = TRUE) override { m_bModified = bModified; }
};
