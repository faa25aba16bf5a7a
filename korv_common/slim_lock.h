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

// Holds the lock for the life of the object: waiting for it, or, when told so, only if it is free.
class SlimGuard {
  public:
    enum Wait { kWaits, kNeverWaits };
    explicit SlimGuard(SlimLock& lock, Wait wait = kWaits)
        : lock_(lock), held_(wait == kNeverWaits ? lock.TryAcquire() : (lock.Acquire(), true)) {}
    ~SlimGuard() {
        if (held_) {
            lock_.Release();
        }
    }
    SlimGuard(const SlimGuard&) = delete;
    SlimGuard& operator=(const SlimGuard&) = delete;

  private:
    SlimLock& lock_;
    bool held_;
};

} // namespace korv
