#pragma once
// Number text: written into the transcript's entries, read from the command line.
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

std::string Hex8(std::uint32_t value); // "0x01080560"
std::string Hex(std::uint64_t value);  // "0x539ae98"
std::string Pointer(const void* pointer);
std::string Milliseconds(double ms); // "12.345"

// A number from 0 to 0xFFFFFFFF, written as strtoull reads it with base 0, without a sign. False,
// the value untouched, for anything else.
bool ParseUnsigned(const std::string& text, std::uint32_t& value);
// An HRESULT as written in hexadecimal (0x80070005) or decimal, negative or not.
bool ParseHresult(const std::string& text, std::int32_t& value);
// Numbers separated by commas, as ParseUnsigned reads each; an empty text is an empty list.
bool ParseList(const std::string& text, std::vector<std::uint32_t>& values);

} // namespace sim
