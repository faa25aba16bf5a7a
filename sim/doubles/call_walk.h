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
#include <vector>

namespace sim {

// The files whose calls a walk counts.
enum class WalkedFiles {
    Any,      // every call of the walk's imports
    Settings, // a name ending in ".ini" or ".ini.helmshroud-new": a settings file, its temporary
              // file
    Log,      // a file whose name ends in ".log"
};

struct CallWalk {
    std::string what;                   // names the walk in the transcript, e.g. "allocation"
    std::vector<std::string> functions; // imports counted together, each one of WalkableImports()
    WalkedFiles files = WalkedFiles::Any;
    std::uint32_t failCall = 0;  // counted from 1; 0 counts the calls and fails none
    std::uint32_t failCount = 1; // calls in a row that fail from failCall on; 0: every later one
};

// Every import a walk can count, "dll!function".
std::vector<std::string> WalkableImports();

// The C runtime's imports that hand out memory: the allocation walk counts these.
std::vector<std::string> AllocatingImports();

// The names of the walks below, as the command line gives them.
inline constexpr const char* kCallWalkNames[] = {"profile", "rewrite", "log-writes"};

inline bool IsCallWalkName(const std::string& name) {
    for (const char* known : kCallWalkNames) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

// The walks the command line names, each with its imports and files:
// - "profile": GetPrivateProfileStringA and WritePrivateProfileStringA;
// - "rewrite": CreateFileW, CreateFileA, ReadFile, WriteFile, FlushFileBuffers, MoveFileExW and
//   DeleteFileW on a settings file or its temporary file;
// - "log-writes": WriteFile on a log file.
// False for any other name.
bool NamedWalk(const std::string& name, CallWalk& walk);

// Patches the plugin's imports the walk names, as far as the plugin imports them (one that it
// does not import cannot be called). Records the patches; false, with an error entry, when the
// walk names an import no walk can count, or the plugin imports none of them.
bool InstallCallWalk(void* pluginModule, const CallWalk& walk);

// The worker's 2000 ms wait takes only ms, so that a walk of many runs stays quick; a thread that
// made that wait counts as a worker in the walk's figures.
bool ShortenWorkerWaits(void* pluginModule, std::uint32_t ms);

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
