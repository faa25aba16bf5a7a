#include "sim/record/thread_roles.h"

#include "sim/platform/platform.h"

#include <atomic>
#include <cstdint>

namespace sim {

namespace {

std::atomic<std::uint32_t> g_extenderThread{0};
std::atomic<std::uint32_t> g_gameThread{0};

} // namespace

void MarkExtenderThread() {
    g_extenderThread.store(CurrentThreadId());
}

void MarkGameThread() {
    g_gameThread.store(CurrentThreadId());
}

void UnmarkGameThread() {
    g_gameThread.store(0);
}

Source CurrentSource() {
    std::uint32_t self = CurrentThreadId();
    if (self == g_extenderThread.load()) {
        return Source::Korv;
    }
    if (self == g_gameThread.load()) {
        return Source::Game;
    }
    return Source::Other;
}

} // namespace sim
