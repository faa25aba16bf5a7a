#pragma once
// One of the log's two outputs, its file or standard output: the lines queued for it in a fixed
// ring (queueing never allocates), at positions that only grow; its writer's lock and wake-up; the
// lines it had no room for. Its writer writes straight from the ring and commits only what the
// write reported as written: a refused or partial write leaves the rest queued, and the bytes
// committed are exactly the bytes the output has.
#include "korv_common/slim_lock.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace korv::log {

class Output {
  public:
    // Writes bytes to the output's handle; returns how many it took, with the system's reason in
    // error when it took none.
    using WriteBytes = std::size_t (*)(void* handle, const char* bytes, std::size_t size,
                                       std::uint32_t& error);
    // What a slow disk or a stalled standard output may hold back: some hundreds of lines.
    static constexpr std::size_t kCapacity = 64 * 1024;
    // Behind the ring's end, room for a line that crosses it: the longest line, its CR LF included.
    static constexpr std::size_t kTail = 8 * 1024;

    // ring: kCapacity + kTail bytes of zeroed memory, kept apart so that the object's other,
    // non-zero members don't put the ring in the DLL's file. crlf: each "\n" is queued as "\r\n",
    // as the log file holds its line ends.
    constexpr Output(WriteBytes write, bool crlf, char* ring)
        : write_(write), crlf_(crlf), ring_(ring) {}

    // Under the log's queue lock: queues the line whole, or nothing (false) when it doesn't fit.
    bool Push(const char* line, std::size_t size);
    std::size_t Queued() const { return static_cast<std::size_t>(Pushed() - Committed()); }
    std::size_t Room() const { return kCapacity - Queued(); }
    // Every byte ever queued, and every byte committed (the output has them).
    std::uint64_t Pushed() const { return pushed_.load(std::memory_order_acquire); }
    std::uint64_t Committed() const { return committed_.load(std::memory_order_acquire); }

    // Under `writing`: one write of the oldest queued bytes, whole lines up to the ring's end or a
    // line across it (asked of them); returns how many the output took, which Commit then frees.
    std::size_t Write(std::size_t& asked, std::uint32_t& error);
    void Commit(std::size_t bytes);
    // As the process ends: the output has its first `bytes` bytes, committed or not.
    void CommitUpTo(std::uint64_t bytes);

    std::atomic<void*> handle{nullptr}; // the file's Windows handle once it is open
    std::atomic<void*> wake{nullptr};   // the writer's wake-up, once made
    std::atomic<bool> running{false};   // the writer's thread was started
    SlimLock writing;                   // one writer at a time, held across the write
    std::uint64_t leftOut = 0;          // lines it had no room for, not yet said (queue lock)
    bool failing = false;               // its writes refused since the last that went through
    // Committed when a wait for the writer last gave up: while it is so, nobody waits for it again.
    std::atomic<std::uint64_t> gaveUpAt{std::numeric_limits<std::uint64_t>::max()};

  private:
    WriteBytes write_;
    bool crlf_;
    std::atomic<std::uint64_t> pushed_{0};
    std::atomic<std::uint64_t> committed_{0};
    char* ring_;
};

} // namespace korv::log
