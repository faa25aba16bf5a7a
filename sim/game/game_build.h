#pragma once
// The simulated game's build: runtime 1.8.86, the entry points a plugin calls at their offsets
// from the game image base, and the values it hands them or expects from them. Every layout is
// little-endian with 64-bit pointers.
//
// Written on its own, without the plugin's headers, so that the simulator checks the plugin rather
// than agreeing with it: the plugin's copy of these values is in host/game_build.h, and a change to
// one must be made to the other (docs/porting.md says what a new game runtime changes).
#include <cstdint>

namespace sim {

// The game runtime this simulated game is: 1.8.86.0, packed major << 24 | minor << 16 | build << 4
// | sub. The extender hands it to every plugin and refuses one that does not list it among its
// compatible runtimes.
inline constexpr std::uint32_t kRuntimeVersion = 0x01080560;

// Offsets from the game image base of the entry points a plugin calls.
inline constexpr std::uintptr_t kLoadGameEventSourceOffset = 0x1A2FF20; // () -> event source
inline constexpr std::uintptr_t kRegisterSinkOffset = 0x5C122C;         // (source, sink) -> void
inline constexpr std::uintptr_t kConsoleExecutorOffset = 0x288D694;     // (context, command)

// The first argument the console executor expects.
inline constexpr std::uint64_t kConsoleContext = 0x539AE98;

// A sink is an object of the game's sink class; the game calls its event handler (see
// sim/game/sink_caller.h) and expects the event-control value 0 ("continue").

// The record the game hands a sink for each loaded saved game (its content is the game's own).
struct LoadGameEvent {
    std::uint32_t loadNumber;
};

} // namespace sim
