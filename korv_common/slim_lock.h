#pragma once
// A lock that never allocates, not even at its first use, and needs no initialisation at run time:
// a Windows slim reader/writer lock taken exclusively. Waiting for it costs no CPU.
namespace korv {

class SlimLock {
  public:
    constexpr SlimLock() = default;
    SlimLock(const SlimLock&) = delete;
    SlimLock& operator=(const SlimLock&) = delete;

    void Acquire();
    void Release();
    // True when the lock was free and is now held.
    bool TryAcquire();

  private:
    void* state_ = nullptr; // the lock itself: one pointer, zero when free
};

class SlimGuard {
  public:
    explicit SlimGuard(SlimLock& lock) : lock_(lock) { lock_.Acquire(); }
    ~SlimGuard() { lock_.Release(); }
    SlimGuard(const SlimGuard&) = delete;
    SlimGuard& operator=(const SlimGuard&) = delete;

  private:
    SlimLock& lock_;
};

// Takes the lock for the life of the object when it is free; never waits.
class SlimTryGuard {
  public:
    explicit SlimTryGuard(SlimLock& lock) : lock_(lock), held_(lock.TryAcquire()) {}
    ~SlimTryGuard() {
        if (held_) {
            lock_.Release();
        }
    }
    SlimTryGuard(const SlimTryGuard&) = delete;
    SlimTryGuard& operator=(const SlimTryGuard&) = delete;

  private:
    SlimLock& lock_;
    bool held_;
};

} // namespace korv
