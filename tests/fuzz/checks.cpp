#include "tests/fuzz/checks.h"

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

namespace {

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

} // namespace

void Require(bool holds, std::string_view promise, std::string_view text) {
    if (holds) {
        return;
    }
    std::fprintf(stderr, "== broken: %.*s\n== text (%zu bytes): ", static_cast<int>(promise.size()),
                 promise.data(), text.size());
    for (char c : text) {
        if (IsControl(c) || c == '\\') {
            std::fprintf(stderr, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
        } else {
            std::fputc(c, stderr);
        }
    }
    std::fputc('\n', stderr);
    std::abort();
}

void RequireWholeLogLine(std::string_view line) {
    Require(line.size() + 2 <= kLogLineBuffer, "the line fits the log's line buffer whole", line);
    for (char c : line) {
        Require(!IsControl(c), "the line holds no control character", line);
    }
}

} // namespace fuzzing
