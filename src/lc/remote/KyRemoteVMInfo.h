// The records of a Java server (KyRemoteJavaInfo) and a .NET server
// (KyRemoteCSharpInfo): the same keys with each platform's defaults, kept
// in their common base.
#pragma once

#include "KyRemoteInfo.h"

class KyRemoteVMInfo : public KyRemoteInfo {
 public:
  // Writes the base keys, then Protocol, Port, Package, System and Timeout.
  void Write() override;

  int m_iPort = 0;
  KyString m_strPackage;
  KyString m_strEnvironment;
  KyString m_strClientEncoding;
  int m_iTimeout = 60;  // seconds

 protected:
  struct Defaults {
    const char* protocol;
    int port;
    const char* clientEncoding;
  };
  KyRemoteVMInfo(const char* pszLocation, const Defaults& defaults);
};

class KyRemoteJavaInfo : public KyRemoteVMInfo {
 public:
  explicit KyRemoteJavaInfo(const char* pszLocation) : KyRemoteVMInfo(pszLocation, {"JAVATCPIP", 1997, "Cp1252"}) {}
};

class KyRemoteCSharpInfo : public KyRemoteVMInfo {
 public:
  explicit KyRemoteCSharpInfo(const char* pszLocation)
      : KyRemoteVMInfo(pszLocation, {"CSHARPTCPIP", 1998, "Windows-1252"}) {}
};
