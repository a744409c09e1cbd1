#include "scripterror.h"

#include <oleauto.h>

namespace jscript {
namespace {

BSTR allocate(const std::u16string& text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

}  // namespace

ScriptError::ScriptError(const std::u16string& source, const std::u16string& description, HRESULT code,
                         DWORD context, ULONG line, const std::u16string& lineText)
    : source_(source), description_(description), code_(code), context_(context), line_(line), lineText_(lineText) {}

HRESULT ScriptError::QueryInterface(REFIID riid, void** ppv) {
  return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IActiveScriptError, this}});
}

void ScriptError::fill(EXCEPINFO* exception) const {
  *exception = EXCEPINFO{};
  exception->bstrSource = allocate(source_);
  exception->bstrDescription = allocate(description_);
  exception->scode = code_;
}

HRESULT ScriptError::GetExceptionInfo(EXCEPINFO* exception) {
  if (!exception) return E_POINTER;
  fill(exception);
  return S_OK;
}

HRESULT ScriptError::GetSourcePosition(DWORD* context, ULONG* line, LONG* character) {
  if (context) *context = context_;
  if (line) *line = line_;
  // The engine knows lines, not columns.
  if (character) *character = 0;
  return S_OK;
}

HRESULT ScriptError::GetSourceLineText(BSTR* text) {
  if (!text) return E_POINTER;
  *text = allocate(lineText_);
  return *text ? S_OK : E_OUTOFMEMORY;
}

}  // namespace jscript
