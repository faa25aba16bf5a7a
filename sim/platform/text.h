#pragma once
// Number formatting shared by the transcript's entries.
#include <cstdint>
#include <string>

namespace sim {

std::string Hex8(std::uint32_t value); // "0x01080560"
std::string Hex(std::uint64_t value);  // "0x539ae98"
std::string Pointer(const void* pointer);
std::string Milliseconds(double ms); // "12.345"

} // namespace sim
