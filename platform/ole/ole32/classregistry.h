// The class registry's file, shared by registration and creation.
#pragma once

#include <objbase.h>

#include <string>

namespace ole32 {

// The registry file's host path (read from the environment on each call,
// so that a test can point it at a directory of its own).
std::string registryFile();
// The library registered for the class; "" when the class is not there.
std::string serverLibrary(REFCLSID clsid);

}  // namespace ole32
