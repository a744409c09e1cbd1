#include "KyVersion.h"

extern "C" int KyGetVersionInfo(const KyGenVersionInfo*, KyGenVersionInfo* pVersion) {
  if (!pVersion) return 0;
  *pVersion = KyRuntimeVersion;
  return 1;
}
