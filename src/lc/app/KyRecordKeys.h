// The INI keys of a settings record as a table: each entry names a key, the
// record's member that holds it (a text, a number or a True/False flag),
// its default and whether the record writes it back. One loop reads a
// table into a record and one writes the entries marked for writing, so
// that a record lists its keys once instead of reading each by hand.
#pragma once

#include <vector>

#include "KyProfile.h"
#include "KyString.h"

template <class Record>
struct KyRecordKey {
  enum Kind { Text, Number, Flag };
  const char* pszKey;
  Kind kind;
  KyString Record::*pText;
  int Record::*pNumber;
  const char* pszDefault;
  int iDefault;
  bool fWritten;

  static KyRecordKey text(const char* pszKey, KyString Record::*pMember, const char* pszDefault, bool fWritten = true) {
    return {pszKey, Text, pMember, nullptr, pszDefault, 0, fWritten};
  }
  static KyRecordKey number(const char* pszKey, int Record::*pMember, int iDefault, bool fWritten = true) {
    return {pszKey, Number, nullptr, pMember, "", iDefault, fWritten};
  }
  static KyRecordKey flag(const char* pszKey, int Record::*pMember, int fDefault, bool fWritten = true) {
    return {pszKey, Flag, nullptr, pMember, "", fDefault, fWritten};
  }
};

template <class Record>
void KyReadRecordKeys(Record& record, const char* pszSection, const std::vector<KyRecordKey<Record>>& keys) {
  for (const KyRecordKey<Record>& key : keys) {
    switch (key.kind) {
      case KyRecordKey<Record>::Text: record.*key.pText = KyGetProfileString(pszSection, key.pszKey, key.pszDefault); break;
      case KyRecordKey<Record>::Number: record.*key.pNumber = KyGetProfileInt(pszSection, key.pszKey, key.iDefault); break;
      case KyRecordKey<Record>::Flag: record.*key.pNumber = KyGetProfileBool(pszSection, key.pszKey, key.iDefault); break;
    }
  }
}

template <class Record>
void KyWriteRecordKeys(const Record& record, const char* pszSection, const std::vector<KyRecordKey<Record>>& keys) {
  for (const KyRecordKey<Record>& key : keys) {
    if (!key.fWritten) continue;
    switch (key.kind) {
      case KyRecordKey<Record>::Text: KyWriteProfileString(pszSection, key.pszKey, record.*key.pText); break;
      case KyRecordKey<Record>::Number: KyWriteProfileInt(pszSection, key.pszKey, record.*key.pNumber); break;
      case KyRecordKey<Record>::Flag: KyWriteProfileBool(pszSection, key.pszKey, record.*key.pNumber); break;
    }
  }
}
