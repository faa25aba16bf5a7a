#pragma once
// A stand-in for the game's image inside a Windows program named Quorvalen.exe: the program's image
// is made large enough to cover the game's entry points, and each entry point is given a jump to a
// function of the program's own.
#include <cstdint>

namespace sim {

// Writes an absolute jump at main module base + offset to target. False when the offset lies
// outside the image's reserved span or the memory cannot be made writable.
bool PlaceGameEntry(std::uintptr_t offset, const void* target);

// Base of the process's main module.
std::uintptr_t GameImageBase();

} // namespace sim
