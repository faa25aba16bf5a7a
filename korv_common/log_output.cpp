#include "korv_common/log_output.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace korv::log {

bool Output::Push(const char* line, std::size_t size) {
    std::size_t bytes = size;
    if (crlf_) {
        bytes += static_cast<std::size_t>(std::count(line, line + size, '\n'));
    }
    if (bytes > Room()) {
        return false;
    }
    // Only whoever holds the queue lock moves this end.
    std::uint64_t at = pushed_.load(std::memory_order_relaxed);
    for (std::size_t i = 0; i < size; ++i) {
        if (crlf_ && line[i] == '\n') {
            ring_[at++ % kCapacity] = '\r';
        }
        ring_[at++ % kCapacity] = line[i];
    }
    pushed_.store(at, std::memory_order_release);
    return true;
}

std::size_t Output::Write(std::size_t& asked, std::uint32_t& error) {
    std::uint64_t from = Committed();
    auto at = static_cast<std::size_t>(from % kCapacity);
    auto queued = static_cast<std::size_t>(Pushed() - from);
    asked = std::min(queued, kCapacity - at);
    // Every write ends at a line's end, so that a process ended between two writes leaves no line
    // cut: a queue that goes on past the ring's end is written up to its last line's end before
    // it, and a line that crosses the end whole, its rest copied to the tail behind the end.
    if (asked < queued) {
        std::size_t lastEnd = std::string_view(ring_ + at, asked).rfind('\n');
        if (lastEnd != std::string_view::npos) {
            asked = lastEnd + 1;
        } else {
            std::size_t rest = std::string_view(ring_, queued - asked).find('\n') + 1;
            std::memcpy(ring_ + kCapacity, ring_, rest);
            asked += rest;
        }
    }
    return asked == 0 ? 0 : write_(handle.load(), ring_ + at, asked, error);
}

void Output::Commit(std::size_t bytes) {
    committed_.store(Committed() + bytes, std::memory_order_release);
}

void Output::CommitUpTo(std::uint64_t bytes) {
    committed_.store(std::clamp(bytes, Committed(), Pushed()), std::memory_order_release);
}

} // namespace korv::log
