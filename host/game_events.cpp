#include "host/game_events.h"

#include "host/game_build.h"

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
    // Worked out once; the first call may come from any thread.
    static const auto registerSink =
        reinterpret_cast<RegisterSinkFn>(imageBase + kRegisterSinkOffset);
    registerSink(source, sink);
}

} // namespace host
