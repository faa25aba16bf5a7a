#pragma once
// Gives a loaded module a test double for one of its imports by rewriting its import address table,
// the way a host injects faults into a plugin it has loaded.
#include <windows.h>

namespace sim {

// Replaces module's import of function from dll (names compared without regard to case). Returns
// the previous address, or null when the module does not import that function.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

} // namespace sim
