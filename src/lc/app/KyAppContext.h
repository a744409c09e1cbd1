// KyAppContext: what belongs to one thread that runs functions, reached
// through the application object's thread-local slot: the call manager
// slot, run options, regional settings, the current function, the argument
// vector, the program information, the location names to write back and
// the cache of application strings.
//
// Created by KyApp::CreateContext (which puts it in the calling thread's
// slot and loads the run options) and ended by KyApp::EndContext.
#pragma once

#include <oaidl.h>

#include "KyDirectory.h"
#include "KyLocale.h"
#include "KyProgramInfo.h"
#include "KyRunOptions.h"
#include "KyString.h"

#include <map>
#include <memory>
#include <vector>

class KyAtomInterface;
class KyCallMgr;
class KyComFldInfo;
class KyDataThread;
class KyFunctionData;

class KyAppContext {
 public:
  // Creates the thread's regional settings; the run options start empty.
  KyAppContext();
  // Frees what Exit has not; empties the calling thread's slot when it
  // holds this context.
  virtual ~KyAppContext();

  // The calling thread's context, or null when it has none (or there is no
  // application object).
  static KyAppContext* Current();

  // The application's string nID from the current resource module (the
  // language library), loaded once and kept until CleanUpAppStringResources;
  // "" for id 0 or a missing string. Never null.
  virtual const char* pszGetResourceString(UINT nID);
  virtual void CleanUpAppStringResources();

  // The end of the thread's run: saves the run options, deletes the call
  // manager and the regional settings, puts back the resource module and
  // releases the language library, frees the cached strings and the
  // argument vector.
  // Answers 0.
  virtual int Exit();

  // --- start-up (KyAppStartup.cpp) ---
  // Keeps the arguments of the command line (the part after the program
  // name), loads the language library (not for "/REMOTE_THREAD"), starts
  // the user interface and the main function. FALSE when a step failed.
  virtual BOOL Init(const char* pszCommandLine);
  virtual BOOL InitHook() { return TRUE; }
  virtual BOOL InitHook2() { return TRUE; }
  // A new call manager, the run options, then KY721LNC.<language> of
  // [International Settings] "Orvo Zunt Language" (default ENG); its string
  // 57344 becomes the application name.
  virtual BOOL LoadLanguageLibrary();
  // Loads pszFile as the module of all later string and dialog loads; on
  // failure the ".ENG" fallback is loaded for the box's text and FALSE comes
  // back either way.
  virtual BOOL LoadResourceLibrary(const char* pszFile);
  // Calls the main function named by the arguments; FALSE when the call
  // failed (library not loaded or refused, no entry of that name, or the
  // function refused to run), after the call manager's box said why.
  virtual BOOL StartMainFunction();
  // The remote thread's start: nothing of it is built.
  virtual BOOL StartRemoteThread() { return FALSE; }
  // The language library and the resource module it replaced.
  HMODULE m_hLanguageLibrary = nullptr;
  HINSTANCE m_hPreviousResource = nullptr;
  void ReleaseLanguageLibrary();

  KyRunOptions* GetRunOptions() { return &m_RunOptions; }
  // The thread's data-access state (client-library bindings, environments,
  // pending commit control); made on first use, freed after the call
  // manager whose connections use it.
  KyDataThread& GetDataThread();
  // Null after Exit.
  KyLocale* GetLocale() { return m_pLocale.get(); }
  // The thread's property atoms and their providers; made on first use,
  // ended (its provider libraries freed) by Exit.
  KyAtomInterface& GetAtomInterface();

  // The call manager of the thread (see GetCallMgr); owned.
  KyCallMgr* m_pCallMgr = nullptr;
  // The function whose API call runs (set by the API preparation).
  KyFunctionData* m_pCurrentFunction = nullptr;
  KyString m_strCurrentFunctionName;
  // Large-object piece size in bytes.
  LONG m_lPieceSize = 5000;
  // Nesting of busy sections; while non-zero, COM events wait.
  int m_iBusyCount = 0;
  // The thread's live COM objects by key ("0x" and the entry's address);
  // the entries belong to their COM fields.
  std::map<KyString, KyComFldInfo*> m_ComObjects;
  KyProgramInfo m_ProgramInfo;

  // Copies argc texts (null ones become ""); GetArgv ends with a null entry.
  void SetArguments(int argc, const char* const* argv);
  int GetArgc() const { return static_cast<int>(m_Arguments.size()); }
  char** GetArgv() { return m_ArgumentPointers.data(); }
  void FreeArguments();

  // Remote locations to be written back to "Location List" (KyRemoteInfo).
  std::vector<KyString>& GetLocationNames() { return m_LocationNames; }
  // The report files (RTF) the thread's application wrote in the temporary
  // directory: the only ones KyPanelAPI::DeleteReportFiles deletes.
  std::vector<KyString>& GetReportFiles() { return m_ReportFiles; }

  // --- calls and parameter streams ---
  // The thread's call manager, made on first use with fCreate; deleted by
  // Exit (after the run options are saved) or by the destructor.
  KyCallMgr* GetCallMgr(BOOL fCreate = TRUE);
  // The directory taken when the context was made: libraries loaded by a
  // bare name are looked for there as in the current directory.
  KyDirectory* GetDirectory() { return &m_Directory; }
  // The automation call's arrays of VARIANT (start mode 3); not owned.
  SAFEARRAY* m_psaInput = nullptr;
  SAFEARRAY* m_psaOutput = nullptr;
  // The remote thread's call buffer and its size in bytes (start mode 2);
  // not owned.
  char* m_pRPCBuffer = nullptr;
  LONG m_lRPCBufferSize = 0;

 private:
  KyAppContext(const KyAppContext&) = delete;
  KyAppContext& operator=(const KyAppContext&) = delete;

  KyRunOptions m_RunOptions;
  std::unique_ptr<KyLocale> m_pLocale;
  std::vector<KyString> m_Arguments;
  std::vector<char*> m_ArgumentPointers;  // into m_Arguments, then null
  std::vector<KyString> m_LocationNames;
  std::vector<KyString> m_ReportFiles;
  std::map<UINT, CString> m_StringCache;  // node-based: cached texts never move
  KyDirectory m_Directory;
  KyDataThread* m_pDataThread = nullptr;  // owned
  std::unique_ptr<KyAtomInterface> m_pAtomInterface;
  void deleteCallMgr();
  void deleteDataThread();
};
