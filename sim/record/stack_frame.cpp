#include "sim/record/stack_frame.h"

#include "sim/platform/text.h"

namespace sim {

std::string FormatFrame(const FrameFacts& frame) {
    if (frame.module.empty()) {
        return Hex(frame.address);
    }
    if (frame.function.empty()) {
        return frame.module + "+" + Hex(frame.moduleOffset);
    }
    std::string text = frame.module + "!" + frame.function + "+" + Hex(frame.functionOffset);
    if (!frame.file.empty()) {
        text += " (" + frame.file + ":" + std::to_string(frame.line) + ")";
    }
    return text;
}

const char* ExceptionName(std::uint32_t code) {
    switch (code) {
    case 0xC0000005:
        return "access violation";
    case 0xC000001D:
        return "illegal instruction";
    case 0xC0000094:
        return "integer division by zero";
    case 0xC00000FD:
        return "stack overflow";
    case 0xC0000409:
        return "stack buffer overrun";
    case 0x80000003:
        return "breakpoint";
    case 0x20474343:
        return "C++ exception (GCC)";
    case 0xE06D7363:
        return "C++ exception (Microsoft)";
    }
    return "";
}

} // namespace sim
