// The handler tables of the property atom provider. A key is the control's
// class (without the run-time's class prefixes) and the property name, with
// "." between them, lower-cased; a property without a key for the class is
// looked up by its bare name. Set handlers send the value to the control;
// get handlers write the control's values into the record's output buffers.
#pragma once

#include "KyAtomProvider.h"

#include <string>

class KyPropSetHandler {
 public:
  // The handler's result; 1 for "TestPropDLL" without a handler, else 0
  // when no handler has the key.
  int Dispatch(const KyPropertyAtom& record) const;
};

class KyPropGetHandler {
 public:
  // The handler's result; 0 when no handler has the key.
  int Dispatch(const KyPropertyAtom& record) const;
};

namespace kyprop {

// The class part of a key: the window class without a leading "KYW600" or
// "KYWA721" (any case); the system classes "Static" and "Button" read as the
// custom classes' "Stat" and "Butt". Lower case.
std::string classKey(const char* pszClassName);

}  // namespace kyprop
