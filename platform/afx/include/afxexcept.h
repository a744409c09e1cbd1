// The framework's exceptions. They are thrown as pointers to heap objects
// (throw new CFileException(...), or the AfxThrow... functions) and caught
// as pointers; the handler ends with e->Delete(). The TRY/CATCH macros do
// the Delete themselves when the handler block ends without THROW_LAST().
#pragma once

#include "afxobject.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  CException() = default;
  explicit CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

  // Frees a heap exception; an exception that is not auto-delete (a static
  // one, or one on the stack) stays.
  void Delete();
  // The message text into lpszError (at most nMaxError bytes with the
  // terminator); FALSE and an empty text when the class has none.
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
  // Shows the message in a message box of style nType (MB_OK = 0), titled
  // with the application's name, and answers the button chosen. Without a
  // message of its own it shows string resource nMessageID, or the
  // framework's "No error message is available." when that is 0 or missing.
  virtual int ReportError(UINT nType = 0, UINT nMessageID = 0) const;

  BOOL m_bAutoDelete = TRUE;

 protected:
  // Copies text into the caller's buffer, cut to fit and terminated.
  static BOOL copyMessage(LPCSTR text, LPSTR lpszError, UINT nMaxError);
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException() = default;
  explicit CMemoryException(BOOL bAutoDelete) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// An argument outside what a member accepts (an index past the end, a
// null POSITION), where the framework would otherwise read out of bounds.
class CInvalidArgException : public CException {
  DECLARE_DYNAMIC(CInvalidArgException)
 public:
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// Thrown after the user has been told of a problem (a failed validation):
// it carries no message of its own.
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowUserException();

// Deletes the caught exception when the handler block ends, unless the
// handler throws it on (THROW_LAST).
struct AFX_EXCEPTION_LINK {
  AFX_EXCEPTION_LINK() = default;
  AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
  AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;
  ~AFX_EXCEPTION_LINK() {
    if (m_pException) m_pException->Delete();
  }
  CException* m_pException = nullptr;
};

#define TRY                                 \
  {                                         \
    AFX_EXCEPTION_LINK _afxExceptionLink;   \
    try {
#define CATCH(class_name, e)                \
  }                                         \
  catch (class_name * e) {                  \
    _afxExceptionLink.m_pException = e;
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH \
  }               \
  }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define THROW(e) throw e
#define THROW_LAST()                         \
  do {                                       \
    _afxExceptionLink.m_pException = nullptr; \
    throw;                                   \
  } while (0)
