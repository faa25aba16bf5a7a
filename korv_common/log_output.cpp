#include "korv_common/log_output.h"

#include <algorithm>

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
    asked = static_cast<std::size_t>(std::min<std::uint64_t>(Pushed() - from, kCapacity - at));
    return asked == 0 ? 0 : write_(handle.load(), ring_ + at, asked, error);
}

void Output::Commit(std::size_t bytes) {
    committed_.store(Committed() + bytes, std::memory_order_release);
}

void Output::CommitUpTo(std::uint64_t bytes) {
    committed_.store(std::clamp(bytes, Committed(), Pushed()), std::memory_order_release);
}

} // namespace korv::log
