// Exceptions thrown as pointers, the TRY/CATCH macros, error messages and
// reports; run-time classes and creation by class.
#include <afx.h>
#include <afxwin.h>
#include <gtest/gtest.h>
#include <internal/userscript.h>

#include <string>

namespace {

// Counts its deletions, so that tests see who deletes an exception.
class CountedException : public CException {
 public:
  static inline int deleted = 0;
  ~CountedException() override { ++deleted; }
};

TEST(ExceptionMacros, CatchDeletesTheExceptionAtTheEnd) {
  CountedException::deleted = 0;
  bool caught = false;
  TRY {
    throw new CountedException;
  }
  CATCH(CException, e) {
    caught = true;
    EXPECT_EQ(CountedException::deleted, 0);
  }
  END_CATCH
  EXPECT_TRUE(caught);
  EXPECT_EQ(CountedException::deleted, 1);
}

TEST(ExceptionMacros, AndCatchSelectsTheFirstMatchingClass) {
  int branch = 0;
  TRY {
    AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, "x.dat");
  }
  CATCH(CMemoryException, e) {
    branch = 1;
  }
  AND_CATCH(CFileException, e) {
    branch = 2;
    EXPECT_EQ(e->m_cause, CFileException::diskFull);
    EXPECT_EQ(e->m_lOsError, ERROR_DISK_FULL);
    EXPECT_EQ(e->m_strFileName, "x.dat");
  }
  AND_CATCH_ALL(e) {
    branch = 3;
  }
  END_CATCH_ALL
  EXPECT_EQ(branch, 2);
}

TEST(ExceptionMacros, ThrowLastPassesTheExceptionOnUndeleted) {
  CountedException::deleted = 0;
  try {
    TRY {
      THROW(new CountedException);
    }
    CATCH_ALL(e) {
      THROW_LAST();
    }
    END_CATCH_ALL
    ADD_FAILURE() << "not thrown on";
  } catch (CException* e) {
    EXPECT_EQ(CountedException::deleted, 0);
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    e->Delete();
  }
  EXPECT_EQ(CountedException::deleted, 1);
}

TEST(ExceptionObjects, DeleteLeavesStaticAndStackObjectsAlone) {
  CMemoryException* first = nullptr;
  CMemoryException* second = nullptr;
  try {
    AfxThrowMemoryException();
  } catch (CMemoryException* e) {
    first = e;
    e->Delete();
  }
  try {
    AfxThrowMemoryException();
  } catch (CMemoryException* e) {
    second = e;
    e->Delete();
  }
  EXPECT_EQ(first, second);  // one static object, never freed
  EXPECT_FALSE(first->m_bAutoDelete);
  CountedException::deleted = 0;
  {
    CountedException onStack;
    onStack.m_bAutoDelete = FALSE;
    onStack.Delete();
    EXPECT_EQ(CountedException::deleted, 0);
  }
  EXPECT_EQ(CountedException::deleted, 1);
}

TEST(ExceptionObjects, EachThrowFunctionThrowsItsClass) {
  struct Case {
    void (*thrower)();
    const CRuntimeClass* expected;
    const char* message;
  };
  const Case cases[] = {
      {AfxThrowMemoryException, RUNTIME_CLASS(CMemoryException), "Out of memory."},
      {AfxThrowNotSupportedException, RUNTIME_CLASS(CNotSupportedException), "Unsupported operation was attempted."},
      {AfxThrowResourceException, RUNTIME_CLASS(CResourceException), "A required resource was unavailable."},
      {AfxThrowInvalidArgException, RUNTIME_CLASS(CInvalidArgException), "Encountered an improper argument."},
      {AfxThrowUserException, RUNTIME_CLASS(CUserException), ""},
  };
  for (const Case& c : cases) {
    try {
      c.thrower();
      ADD_FAILURE() << c.expected->m_lpszClassName;
    } catch (CException* e) {
      EXPECT_EQ(e->GetRuntimeClass(), c.expected);
      char text[64] = "unchanged";
      UINT help = 99;
      EXPECT_EQ(e->GetErrorMessage(text, sizeof text, &help), *c.message != '\0');
      EXPECT_STREQ(text, c.message);
      EXPECT_EQ(help, 0u);
      e->Delete();
    }
  }
}

TEST(FileExceptionCauses, OsErrorsMapToCauses) {
  const std::pair<LONG, int> cases[] = {
      {NO_ERROR, CFileException::none},
      {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
      {ERROR_PATH_NOT_FOUND, CFileException::badPath},
      {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
      {ERROR_ACCESS_DENIED, CFileException::accessDenied},
      {ERROR_INVALID_HANDLE, CFileException::invalidFile},
      {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
      {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
      {ERROR_HANDLE_EOF, CFileException::endOfFile},
      {ERROR_DISK_FULL, CFileException::diskFull},
      {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
      {ERROR_DIR_NOT_EMPTY, CFileException::removeCurrentDir},
      {ERROR_NOT_READY, CFileException::hardIO},
      {ERROR_CALL_NOT_IMPLEMENTED, CFileException::genericException},
      {-1, CFileException::genericException},
  };
  for (auto [osError, cause] : cases) EXPECT_EQ(CFileException::OsErrorToException(osError), cause) << osError;
}

TEST(FileExceptionCauses, MessagesNameTheFile) {
  struct Case {
    int cause;
    const char* fileName;
    const char* message;
  };
  const Case cases[] = {
      {CFileException::fileNotFound, "a.txt", "a.txt was not found."},
      {CFileException::accessDenied, "C:\\x\\b.dat", "Access to C:\\x\\b.dat was denied."},
      {CFileException::endOfFile, "c", "An attempt was made to access c past its end."},
      {CFileException::diskFull, nullptr, "Disk full while accessing an unnamed file."},
      {CFileException::none, "d", "No error occurred."},
  };
  for (const Case& c : cases) {
    CFileException e(c.cause, -1, c.fileName);
    char text[128];
    EXPECT_TRUE(e.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ(text, c.message);
  }
  CFileException cut(CFileException::fileNotFound, -1, "long-name.txt");
  char small[8];
  EXPECT_TRUE(cut.GetErrorMessage(small, sizeof small));
  EXPECT_STREQ(small, "long-na");
  EXPECT_FALSE(cut.GetErrorMessage(nullptr, 10));
  CFileException odd(99);
  char text[16] = "x";
  EXPECT_FALSE(odd.GetErrorMessage(text, sizeof text));
  EXPECT_STREQ(text, "");
  try {
    CFileException::ThrowOsError(ERROR_ACCESS_DENIED, "e.dat");
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::accessDenied);
    e->Delete();
  }
  CFileException::ThrowOsError(0);  // no error: nothing thrown
}

TEST(ExceptionReport, ShowsTheMessageInABox) {
  win32::script::clearMessageBoxLog();
  win32::script::clearMessageBoxAnswers();
  win32::script::pushMessageBoxAnswer(IDRETRY);
  CFileException e(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "f.txt");
  {
    CWinApp app("Report Test");
    EXPECT_EQ(e.ReportError(MB_RETRYCANCEL), IDRETRY);
  }
  CException plain;
  EXPECT_EQ(plain.ReportError(), IDOK);
  auto log = win32::script::messageBoxLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].text, "f.txt was not found.");
  EXPECT_EQ(log[0].caption, "Report Test");
  EXPECT_EQ(log[1].caption, "Error");
  EXPECT_EQ(log[0].style, static_cast<UINT>(MB_RETRYCANCEL));
  EXPECT_EQ(log[1].text, "No error message is available.");
}

// --- run-time classes -------------------------------------------------------

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
 public:
  int radius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

TEST(RunTimeClass, KindsAndNames) {
  CCircle circle;
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CException)));
  EXPECT_FALSE(circle.IsKindOf(nullptr));
  EXPECT_STREQ(circle.GetRuntimeClass()->m_lpszClassName, "CCircle");
  EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_pBaseClass, RUNTIME_CLASS(CShape));
  EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
  EXPECT_FALSE(circle.IsSerializable());
  EXPECT_TRUE(RUNTIME_CLASS(CFileException)->IsDerivedFrom(RUNTIME_CLASS(CException)));
  EXPECT_EQ(CRuntimeClass::FromName("CCircle"), RUNTIME_CLASS(CCircle));
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
  EXPECT_EQ(CRuntimeClass::FromName("CFileException"), RUNTIME_CLASS(CFileException));
  EXPECT_EQ(CRuntimeClass::FromName("ccircle"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(RunTimeClass, CreatesDynamicallyCreatableClassesOnly) {
  CObject* object = RUNTIME_CLASS(CCircle)->CreateObject();
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_EQ(static_cast<CCircle*>(object)->radius, 7);
  delete object;
  object = CRuntimeClass::CreateObject("CCircle");
  ASSERT_NE(object, nullptr);
  delete object;
  SetLastError(0);
  EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_FOUND));
}

}  // namespace
