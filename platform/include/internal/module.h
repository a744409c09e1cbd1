// Modules of the process as the resource functions see them.
//
// An HMODULE is the address at which a loaded ELF object is mapped (dladdr's
// dli_fbase), whether it was loaded by LoadLibraryA, linked at build time or
// is the program itself. A module's resources are the .res image embedded in
// it under the symbol ky_resource_blob (see ky_resources in cmake/KyBuild.cmake).
#pragma once

#include <windef.h>

#include <memory>

namespace win32 {

class ResourceIndex;

// The resource index of `module` (NULL = the program), built on first use and
// kept while the module stays loaded. A module without an embedded image has
// an empty index. Answers nullptr with *error = ERROR_MOD_NOT_FOUND when
// `module` is no loaded module.
std::shared_ptr<const ResourceIndex> moduleResources(HMODULE module, DWORD* error);

// The module whose mapping contains `address`, or nullptr.
HMODULE moduleFromAddress(const void* address);

}  // namespace win32
