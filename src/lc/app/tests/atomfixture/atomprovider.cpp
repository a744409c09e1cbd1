// A property atom provider for the atom interface's tests, built under
// several names with a tag: it answers "*Who" with its tag, "<tag>.Echo"
// with what it was given, and takes writes of "<tag>.Take". Built with
// KY_ATOM_NO_SET it lacks SETATOM (an incomplete provider).
#include <cstdio>
#include <cstring>
#include <string>

#include "KyAtomProvider.h"

namespace {
const std::string tag = KY_ATOM_TAG;
}

extern "C" int GETATOM(char* value, const char* name, int index1, int index2, KyNucleus* nucleus) {
  if (std::strcmp(name, "*Who") == 0) {
    std::snprintf(value, KyAtomValueLength + 1, "%s", tag.c_str());
    return 1;
  }
  if (name == tag + ".Echo") {
    std::snprintf(value, KyAtomValueLength + 1, "%s:%d,%d:%s", tag.c_str(), index1, index2,
                  nucleus && nucleus->pContext ? "context" : "none");
    return 1;
  }
  if (name == tag + ".Long") {  // more than an answer may hold
    std::memset(value, 'x', KyAtomValueLength + 1);
    return 1;
  }
  return 0;
}

#ifndef KY_ATOM_NO_SET
extern "C" int SETATOM(const char*, const char* name, int, int, KyNucleus*) { return name == tag + ".Take" ? 1 : 0; }
#endif
