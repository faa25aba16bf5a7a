#include "host/game_events.h"

#include "host/game_build.h"

#include <atomic>

namespace host {

namespace {
using GetSourceFn = LoadGameEventSource* (*)();
using RegisterSinkFn = void (*)(LoadGameEventSource* source, LoadGameEventSink* sink);
} // namespace

LoadGameEventSource* GetLoadGameEventSource(std::uintptr_t imageBase) {
    auto getSource = reinterpret_cast<GetSourceFn>(imageBase + kLoadGameEventSourceOffset);
    return getSource();
}

void RegisterLoadGameSink(std::uintptr_t imageBase, LoadGameEventSource* source,
                          LoadGameEventSink* sink) {
    // Worked out once; the first call may come from any thread. Constant-initialised, so its
    // first use needs none of the runtime's guards (which may allocate, and fail): a thread that
    // finds it empty works out the same address and stores it.
    static constinit std::atomic<RegisterSinkFn> registerSink{nullptr};
    RegisterSinkFn known = registerSink.load();
    if (known == nullptr) {
        known = reinterpret_cast<RegisterSinkFn>(imageBase + kRegisterSinkOffset);
        registerSink.store(known);
    }
    known(source, sink);
}

} // namespace host
