#include "sim/platform/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace sim {

std::string Hex8(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string Hex(std::uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string Pointer(const void* pointer) {
    return Hex(reinterpret_cast<std::uintptr_t>(pointer));
}

std::string Milliseconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms);
    return text;
}

bool ParseUnsigned(const std::string& text, std::uint32_t& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

bool ParseHresult(const std::string& text, std::int32_t& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed < std::numeric_limits<std::int32_t>::min() ||
        parsed > static_cast<long long>(std::numeric_limits<std::uint32_t>::max())) {
        return false;
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(parsed & 0xFFFFFFFF));
    return true;
}

bool ParseList(const std::string& text, std::vector<std::uint32_t>& values) {
    values.clear();
    for (std::size_t start = 0; !text.empty() && start <= text.size();) {
        std::size_t comma = std::min(text.find(',', start), text.size());
        std::uint32_t value = 0;
        if (!ParseUnsigned(text.substr(start, comma - start), value)) {
            return false;
        }
        values.push_back(value);
        start = comma + 1;
    }
    return true;
}

} // namespace sim
