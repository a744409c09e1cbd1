// ky721prp: the property atom provider. The core run-time loads it by name
// and sends it "SetProperty" and "GetProperty" with a property record; the
// provider turns the property name and value texts into window messages to
// the control (KyPropHandlers.h).
//
// CKyPropApp is the library's own application object. The framework here
// has one CWinApp per process (the program's), so the library's object is a
// plain one made when the library loads and ended when it unloads: it keeps
// the library's module (for its dialog and as the resource module handed to
// controls) and the two handler objects.
#pragma once

#include <windows.h>

#include <memory>

class KyPropSetHandler;
class KyPropGetHandler;

class CKyPropApp {
 public:
  CKyPropApp();
  ~CKyPropApp();
  CKyPropApp(const CKyPropApp&) = delete;
  CKyPropApp& operator=(const CKyPropApp&) = delete;

  static HMODULE Module();
  static CKyPropApp& Get();
  KyPropSetHandler& SetHandler() { return *m_pSet; }
  KyPropGetHandler& GetHandler() { return *m_pGet; }

 private:
  std::unique_ptr<KyPropSetHandler> m_pSet;
  std::unique_ptr<KyPropGetHandler> m_pGet;
};
