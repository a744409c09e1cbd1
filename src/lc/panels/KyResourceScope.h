// KyResourceScope: while it lives, the resources the framework loads without
// naming a module come from the panel's resource library (without a panel,
// from the current function's). Its end puts the previous module back, also
// when the read in between failed.
#pragma once

#include <windows.h>

class KyPanel;

class KyResourceScope {
 public:
  explicit KyResourceScope(KyPanel* pPanel);
  ~KyResourceScope();

  KyResourceScope(const KyResourceScope&) = delete;
  KyResourceScope& operator=(const KyResourceScope&) = delete;

  // The module the scope made current; null when neither the panel nor the
  // current function has a resource library (the module stays as it was).
  HINSTANCE GetModule() const { return m_hModule; }

 private:
  HINSTANCE m_hPrevious;
  HINSTANCE m_hModule = nullptr;
};
