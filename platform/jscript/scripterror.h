// The error a script reported, as the site reads it (IActiveScriptError).
#pragma once

#include <activscp.h>

#include <string>

#include "internal/comobject.h"

namespace jscript {

class ScriptError final : public IActiveScriptError {
 public:
  // source and description are the exception record's texts; line is
  // zero-based; lineText is the text of that line.
  ScriptError(const std::u16string& source, const std::u16string& description, HRESULT code, DWORD context,
              ULONG line, const std::u16string& lineText);
  ~ScriptError() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  KY_COM_REFCOUNT

  HRESULT STDMETHODCALLTYPE GetExceptionInfo(EXCEPINFO* exception) override;
  HRESULT STDMETHODCALLTYPE GetSourcePosition(DWORD* context, ULONG* line, LONG* character) override;
  HRESULT STDMETHODCALLTYPE GetSourceLineText(BSTR* text) override;

  // The exception record (new BSTRs the caller frees).
  void fill(EXCEPINFO* exception) const;

 private:
  win32::com::RefCount refs_;
  std::u16string source_;
  std::u16string description_;
  HRESULT code_;
  DWORD context_;
  ULONG line_;
  std::u16string lineText_;
};

}  // namespace jscript
