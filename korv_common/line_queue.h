#pragma once
// A bounded queue of log lines: bytes kept in the order they came, in a fixed ring that the owner
// provides, so that queueing never allocates. A line goes in whole or not at all. Not thread-safe:
// its owner holds a lock around every call.
#include <cstddef>
#include <cstdint>

namespace korv {

class LineQueue {
  public:
    constexpr LineQueue(char* storage, std::size_t capacity)
        : storage_(storage), capacity_(capacity) {}

    // Appends size bytes; false, and nothing taken, when they do not all fit.
    bool Push(const char* bytes, std::size_t size);

    // Moves the oldest bytes, at most max of them, to out; returns how many.
    std::size_t Pop(char* out, std::size_t max);

    std::size_t Size() const { return size_; }
    std::size_t Room() const { return capacity_ - size_; }
    // Every byte ever taken.
    std::uint64_t PushedTotal() const { return pushed_; }

  private:
    char* storage_;
    std::size_t capacity_;
    std::size_t head_ = 0; // the oldest byte
    std::size_t size_ = 0;
    std::uint64_t pushed_ = 0;
};

} // namespace korv
