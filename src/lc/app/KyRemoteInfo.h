// KyRemoteInfo: the settings of a remote location in the INI file, as far
// as the run options need them now: the section of a location, the
// platform letter of an OpSys text, and the "Location List" section.
//
// The records themselves (their keys, platform subclasses, passwords and
// the conversations built from them) come with the remote-call subsystem;
// this class is their base.
#pragma once

#include "KyList.h"

class KyRemoteInfo {
 public:
  virtual ~KyRemoteInfo() = default;

  // The INI section of a location: the five platform default names are
  // their own sections; another name is "RMT_LOC: <name>" when that section
  // has a key System, else the bare name when that one has it, else
  // "RMT_LOC: <name>".
  static KyString SectionName(const char* pszLocation);
  // 'A' AS400, 'N' WINNT, 'U' HPUX, 'J' JAVAVM, '#' WINCLR, '?' otherwise.
  static char OpSysLetter(const char* pszOpSys);

  // Reads every key of "Location List": each value names a location whose
  // section's OpSys gives a known platform letter; those names join the
  // calling thread's list of location names (once each), from which
  // WriteLocationList writes them back. Building the location records from
  // the list is the remote-call subsystem's part.
  static void ReadLocationList();
  // Writes the thread's location names as Location0, Location1, ... into
  // "Location List".
  static void WriteLocationList();
  // Adds a name to the calling thread's list of location names unless it
  // is there already (exact name).
  static void AddLocationName(const char* pszLocation);
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
