#include "KyActiveXScripter.h"

#include "KyActiveXScript.h"

namespace {

const char kGlobal[] = "#Global";

// The application-wide host of global scripts. It is made on first use
// and kept until the process ends.
KyActiveXScripter& globalHost() {
  static KyActiveXScripter host;
  return host;
}

}  // namespace

KyActiveXScripter::KyActiveXScripter() : m_pScript(std::make_unique<KyActiveXScript>(nullptr, nullptr)) {}

KyActiveXScripter::KyActiveXScripter(CWnd* host, KyActiveXContainer* container)
    : m_pScript(std::make_unique<KyActiveXScript>(host, container)) {}

KyActiveXScripter::~KyActiveXScripter() = default;

void KyActiveXScripter::NameControl(CWnd* window, const char* name) { m_pScript->NameControl(window, name); }

void KyActiveXScripter::NameField(void* field, const char* name, KyScriptFieldCallback callback) {
  m_pScript->NameField(field, name, callback);
}

BOOL KyActiveXScripter::RunScript(const char* code, const char* /*entry*/, const char* language) {
  return m_pScript->RunScript(code, language);
}

// The directive's text is dropped and its line kept empty (so that error
// lines still count from the text as written): made a comment, it would
// only suit VBScript, and a JScript global script would fail on it.
BOOL KyActiveXScripter::RunGlobalScript(const char* code, const char* language) {
  CString text(code);
  if (text.GetLength() >= 7 && text.Left(7).CompareNoCase(kGlobal) == 0) {
    const int lineEnd = text.FindOneOf("\r\n");
    text = lineEnd < 0 ? CString() : text.Mid(lineEnd);
  }
  return globalHost().RunScript(text, nullptr, language);
}

void KyActiveXScripter::Stop() { m_pScript->Stop(); }
