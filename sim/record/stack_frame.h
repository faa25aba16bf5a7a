#pragma once
// One line of the crash report: a code address as a debugger names it.
#include <cstdint>
#include <string>

namespace sim {

struct FrameFacts {
    std::uint64_t address = 0;
    std::string module; // file name of the module holding the address; empty when none does
    std::uint64_t moduleOffset = 0;
    std::string function; // empty without symbols for the module
    std::uint64_t functionOffset = 0;
    std::string file; // empty without line information
    std::uint32_t line = 0;
};

// "module!function+0x1f (file:12)", "module!function+0x1f", "module+0x1a2b" or "0x0".
std::string FormatFrame(const FrameFacts& frame);

// "access violation" and the like for the exception codes that end a process; "" for others.
const char* ExceptionName(std::uint32_t code);

} // namespace sim
