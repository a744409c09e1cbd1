// KyRemoteInfo: the settings of a remote location in the INI file: the
// section of a location, the platform letter of an OpSys text, the
// "Location List" section, and the base record of a location (the keys
// every platform has). The platform records derive from it in the remote
// subsystem (KyRemoteTcpipInfo.h and its neighbours), where Create builds
// them.
#pragma once

#include "KyList.h"

class KyRemoteInfo {
 public:
  // An empty record that reads nothing.
  KyRemoteInfo() = default;
  // Reads the base keys of the location's section (SectionName).
  explicit KyRemoteInfo(const char* pszLocation);
  // Virtual operations in slot order: destructor, ToHost, Write.
  virtual ~KyRemoteInfo() = default;
  // Writes a text into a fixed-width host field; the base writes nothing.
  virtual void ToHost(const char* pszText, char* pField, int iWidth) const {}
  // Adds the location to the list of location names (once) and writes
  // System, Protocol, OpSys, Program, Path and Buffer Size.
  virtual void Write();

  // The record of a location and platform letter ('#', 'A', 'J', 'N', 'U')
  // from the calling thread's remote-info list, built and registered when
  // the list has none (with fRegister its name also joins the list of
  // location names). A registered record of another OpSys stays and shows
  // message 0xE050. Null for another letter or without a call manager.
  static KyRemoteInfo* Create(const char* pszLocation, char cPlatform, int fRegister);
  // The OpSys text of a platform letter ("" for '?' and unknown letters).
  static const char* OpSysText(char cPlatform);
  // Whether the name is one of the five platform default sections.
  static bool IsPlatformDefault(const char* pszLocation);

  char GetPlatform() const { return OpSysLetter(m_strOpSys); }
  const KyString& GetLocation() const { return m_strLocation; }
  const KyString& GetSection() const { return m_strSection; }

  KyString m_strSystem;
  KyString m_strProtocol;
  KyString m_strOpSys;
  KyString m_strRpcProtocol;
  KyString m_strRpcEndPoint;
  KyString m_strRpcOptions;
  KyString m_strRpcBindDynamic;
  KyString m_strProgram;
  KyString m_strPath;
  int m_iBufferSize = 1;  // in KB


  // The INI section of a location: the five platform default names are
  // their own sections; another name is "RMT_LOC: <name>" when that section
  // has a key System, else the bare name when that one has it, else
  // "RMT_LOC: <name>".
  static KyString SectionName(const char* pszLocation);
  // 'A' AS400, 'N' WINNT, 'U' HPUX, 'J' JAVAVM, '#' WINCLR, '?' otherwise.
  static char OpSysLetter(const char* pszOpSys);

  // Reads every key of "Location List": each value names a location whose
  // section's OpSys gives a known platform letter; the record of each such
  // location is built (Create) and its name joins the calling thread's
  // list of location names (once each), from which WriteLocationList
  // writes them back.
  static void ReadLocationList();
  // Writes the thread's location names as Location0, Location1, ... into
  // "Location List".
  static void WriteLocationList();
  // Adds a name to the calling thread's list of location names unless it
  // is there already (exact name).
  static void AddLocationName(const char* pszLocation);

 protected:
  KyString m_strLocation;
  KyString m_strSection;
  // The letter Create built the record for; '?' for a record built
  // otherwise. Java and .NET records have no OpSys of their own, so the
  // letter, not the OpSys text, tells whether a second request agrees.
  char m_cCreatedAs = '?';
};

// The call manager's remote settings by location name; nodes own their record.
class KyRemoteInfoNode : public KyListNode {
 public:
  KyRemoteInfoNode(const char* pszName, KyRemoteInfo* pInfo);
  ~KyRemoteInfoNode() override;
  KyRemoteInfo* GetInfo() const { return static_cast<KyRemoteInfo*>(GetCurrent()); }
};

class KyRemoteInfoList : public KyList {
 public:
  void Delete(const char* pszName) override { RemoveExact(pszName); }
  void Pop(const char* pszName) override { PopFound(pszName); }
  // Removes the entry of the name (exact) and adds one for pInfo, which the
  // list then owns.
  void Replace(const char* pszName, KyRemoteInfo* pInfo);
};
