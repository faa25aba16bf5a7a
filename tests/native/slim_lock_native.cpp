// The slim lock natively, for the plain parts' tests: a lock on the same one pointer, taken with
// the compiler's atomic operations, which the thread checker follows. Waiting for it yields.
#include "korv_common/slim_lock.h"

#include <cstdint>
#include <thread>

namespace korv {

namespace {
// Any value but zero marks the lock held.
void* const kHeld = reinterpret_cast<void*>(std::uintptr_t{1});
} // namespace

void SlimLock::Acquire() {
    while (!TryAcquire()) {
        std::this_thread::yield();
    }
}

void SlimLock::Release() {
    __atomic_store_n(&state_, nullptr, __ATOMIC_RELEASE);
}

bool SlimLock::TryAcquire() {
    void* free = nullptr;
    return __atomic_compare_exchange_n(&state_, &free, kHeld, false, __ATOMIC_ACQUIRE,
                                       __ATOMIC_RELAXED);
}

} // namespace korv
