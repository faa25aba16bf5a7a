#pragma once
// The walk double: the plugin's calls of a set of its imports, counted together across the plugin
// from its load entry on, with the k-th of them made to fail. One run per k, k from 1 to the count
// of a whole run, fails every such call in turn. A walk may count only the calls made on some
// files: by the name a call is given, or by the name of the file whose handle it is given. A failed
// call fails as Windows (or the C runtime) fails it, and is recorded with its arguments, the role
// of the thread that made it and the plugin's return addresses on that thread's stack (when every
// later call fails too, only the first failed call is recorded).
#include <cstdint>
#include <string>

namespace sim {

// The walks, each with its imports and files:
// - "allocation": malloc, calloc, realloc, _strdup and _wcsdup of the C runtime;
// - "profile": GetPrivateProfileStringA and WritePrivateProfileStringA;
// - "rewrite": CreateFileW, CreateFileA, ReadFile, WriteFile, FlushFileBuffers, MoveFileExW and
//   DeleteFileW on a settings file or its temporary file;
// - "log-writes": WriteFile on a log file.
struct CallWalk {
    std::string name;
    std::uint32_t failCall = 0;  // counted from 1; 0 counts the calls and fails none
    std::uint32_t failCount = 1; // calls in a row that fail from failCall on; 0: every later one
};

// The walks the command line names (--fail-call); the allocation walk has options of its own.
inline bool IsCallWalkName(const std::string& name) {
    return name == "profile" || name == "rewrite" || name == "log-writes";
}

// Patches the plugin's imports the walk counts, as far as the plugin imports them (one that it
// does not import cannot be called), and makes the worker's 2000 ms wait take 20 ms, so that a
// walk of many runs stays quick; a thread that made that wait counts as a worker in the walk's
// figures. Records the patches; false, with an error entry, for a walk of another name or a plugin
// that imports none of the walk's functions.
bool InstallCallWalk(void* pluginModule, const CallWalk& walk);

struct WalkTally {
    std::uint32_t calls = 0; // every counted call, the failed ones included
    std::uint32_t extender = 0;
    std::uint32_t game = 0;
    std::uint32_t worker = 0; // a thread of the plugin's that made the worker's wait
    std::uint32_t other = 0;  // any other thread
};

// The calls counted so far.
WalkTally WalkedCalls();

} // namespace sim
