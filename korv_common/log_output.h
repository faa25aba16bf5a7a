#pragma once
// One of the log's two outputs, its file or standard output: the lines queued for it, its writer's
// wake-up and lock, and the lines it had no room for. The lines sit in a fixed ring, so that
// queueing never allocates, at positions that only grow. Whoever writes the output writes straight
// from the ring and commits only what its write reported as written: a refused or partial write
// leaves the rest queued, and the bytes committed are exactly the bytes the output has.
#include "korv_common/slim_lock.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace korv::log {

class Output {
  public:
    // Writes bytes to an output whose handle is given; returns how many it took, with the system's
    // reason in error when it took fewer.
    using WriteBytes = std::size_t (*)(void* handle, const char* bytes, std::size_t size,
                                       std::uint32_t& error);
    // Room for some hundreds of lines: what a slow disk or a stalled standard output is allowed to
    // hold back before lines are left out.
    static constexpr std::size_t kCapacity = 64 * 1024;

    // crlf: each "\n" is queued as "\r\n", as the log file holds its line ends.
    constexpr Output(WriteBytes write, bool crlf) : write_(write), crlf_(crlf) {}
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Under the log's queue lock: queues the line whole; false, and nothing queued, when it doesn't
    // fit.
    bool Push(const char* line, std::size_t size);
    std::size_t Queued() const { return static_cast<std::size_t>(Pushed() - Committed()); }
    std::size_t Room() const { return kCapacity - Queued(); }
    // Every byte ever queued, and every byte committed (the output has them).
    std::uint64_t Pushed() const { return pushed_.load(std::memory_order_acquire); }
    std::uint64_t Committed() const { return committed_.load(std::memory_order_acquire); }

    // Under `writing`: one write of the oldest queued bytes, up to the ring's end. Sets asked to
    // their count and returns how many the output took; Commit then frees their room.
    std::size_t Write(std::size_t& asked, std::uint32_t& error);
    void Commit(std::size_t bytes);
    // As the process ends: the output has its first `bytes` bytes, though a writer that was ended
    // in its write had not committed them.
    void CommitUpTo(std::uint64_t bytes);

    std::atomic<void*> handle{nullptr}; // the file's Windows handle once it is open
    std::atomic<void*> wake{nullptr};   // the writer's wake-up, once made
    std::atomic<bool> running{false};   // the writer's thread was started
    SlimLock writing;                   // one writer at a time, held across the write
    std::uint64_t leftOut = 0;          // lines it had no room for, not yet said (queue lock)
    bool failing = false;               // its writes refused since the last that went through
    // What was committed when a wait for the writer last gave up: while it is still so, the writer
    // is stalled in a write and nobody waits for it again.
    std::atomic<std::uint64_t> gaveUpAt{std::numeric_limits<std::uint64_t>::max()};

  private:
    WriteBytes write_;
    bool crlf_;
    std::atomic<std::uint64_t> pushed_{0};
    std::atomic<std::uint64_t> committed_{0};
    char ring_[kCapacity] = {};
};

} // namespace korv::log
