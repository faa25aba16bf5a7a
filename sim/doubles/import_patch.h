#pragma once
// A loaded module's import table: what it imports, and a test double for one import given by
// rewriting its import address table, the way a host injects faults into a plugin it has loaded.
#include "sim/doubles/imported_dll.h"

#include <windows.h>

#include <vector>

namespace sim {

// Replaces module's import of function from dll (names compared without regard to case). Returns
// the previous address, or null when the module does not import that function.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

// Every DLL the module imports from, in the order of its import directory, with its functions.
std::vector<ImportedDll> ListImports(HMODULE module);

} // namespace sim
