#pragma once
// Where the game's own functions sit in game runtime 1.8.86 (0x01080560), the one build the version
// record declares compatible. The game reads none of these; they are how the plugin reaches it.
// The simulated game keeps its own copy, written on its own so that it checks these rather than
// agreeing with them (sim/game/game_build.h): a change here must be made there too. Moving to a
// new game runtime: docs/porting.md.
#include <cstdint>

namespace host {

// Packed as major << 24 | minor << 16 | build << 4 | sub; read by the extender from the version
// record.
inline constexpr std::uint32_t kCompatibleRuntime = 0x01080560;

// Module name the console executor is looked up under.
inline constexpr char kGameModuleName[] = "Quorvalen.exe";

// Offsets from the game image base.
inline constexpr std::uintptr_t kConsoleExecutorOffset = 0x288D694;
inline constexpr std::uintptr_t kLoadGameEventSourceOffset = 0x1A2FF20;
inline constexpr std::uintptr_t kRegisterSinkOffset = 0x5C122C;

// First argument of the console executor: a plain value, not an address in the image.
inline constexpr std::uint64_t kConsoleExecutorContext = 0x539AE98;

} // namespace host
