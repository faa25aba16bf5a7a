#include "korv_common/slim_lock.h"

#include <windows.h>

namespace korv {

static_assert(sizeof(SRWLOCK) == sizeof(void*));

void SlimLock::Acquire() {
    AcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&state_));
}

void SlimLock::Release() {
    ReleaseSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&state_));
}

bool SlimLock::TryAcquire() {
    return TryAcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&state_)) != FALSE;
}

} // namespace korv
