// KyActiveXScripter: runs scripts for a window in an Active Scripting
// engine found by its ProgID ("JScript" here). The window names its
// controls and fields; scripts call the controls by name, read and write
// the fields through the item "AD", and trigger logical events through the
// container. A text may begin with a directive: "#Unload" stops the
// engine, "#External <file>" runs the file's text instead, and "#Global"
// (RunGlobalScript) marks a script of the application-wide host.
#pragma once

#include <afxwin.h>

#include <memory>

#include "KyADInterface.h"

class KyActiveXContainer;
class KyActiveXScript;

class AFX_EXT_CLASS KyActiveXScripter {
 public:
  // Without a window, the active frame of the application's main window
  // at this moment hosts the scripts.
  KyActiveXScripter();
  KyActiveXScripter(CWnd* host, KyActiveXContainer* container);
  ~KyActiveXScripter();
  KyActiveXScripter(const KyActiveXScripter&) = delete;
  KyActiveXScripter& operator=(const KyActiveXScripter&) = delete;

  // Adds or replaces a named window; an engine that runs sees the name
  // after its next start.
  void NameControl(CWnd* window, const char* name);
  // Adds or replaces a named field; the callback serves every field.
  void NameField(void* field, const char* name, KyScriptFieldCallback callback);
  // TRUE when the engine ran the text; `entry` is not used.
  BOOL RunScript(const char* code, const char* entry, const char* language);
  // Runs in the application-wide host (made on first use, lives until the
  // process ends).
  static BOOL RunGlobalScript(const char* code, const char* language);
  // Stops and releases the engine; named windows and fields stay.
  void Stop();

  KyActiveXScript* GetScript() const { return m_pScript.get(); }

 private:
  std::unique_ptr<KyActiveXScript> m_pScript;
};
