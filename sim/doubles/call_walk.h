#pragma once
// The walk double: the plugin's calls of a set of its imports, counted together across the plugin
// from its load entry on, with the k-th of them made to fail. One run per k, k from 1 to the count
// of a whole run, fails every such call in turn. The failed call is recorded with its arguments,
// the role of the thread that made it and the plugin's return addresses on that thread's stack
// (with failLaterCalls, only the first failed call is recorded).
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct CallWalk {
    std::string what;                   // names the walk in the transcript, e.g. "allocation"
    std::vector<std::string> functions; // imports counted together, each one of WalkableImports()
    std::uint32_t failCall = 0;         // counted from 1; 0 counts the calls and fails none
    bool failLaterCalls = false;        // every call after it fails too: memory that stays short
};

// Every import a walk can count, "dll!function", with what a failed call does.
std::vector<std::string> WalkableImports();

// The C runtime's imports that hand out memory: the allocation walk counts these.
std::vector<std::string> AllocatingImports();

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
