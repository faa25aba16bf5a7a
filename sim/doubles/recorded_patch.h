#pragma once
// Gives a plugin a test double for one of its imports and notes it in the transcript.
#include <windows.h>

#include <string>

namespace sim {

// The Sleep a plugin's settings worker makes after a game load, before its run: the doubles that
// hold, skip or count that wait know it by its length.
inline constexpr DWORD kWorkerWaitMs = 2000;

// The import's previous address; null, with an error entry, when the plugin does not import it.
void* PatchPluginImport(HMODULE module, const char* dll, const char* function, void* replacement,
                        const std::string& what);

} // namespace sim
