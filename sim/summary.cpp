#include "sim/summary.h"

#include "sim/platform/text.h"
#include "sim/record/transcript.h"

#include <string>

namespace sim {

namespace {

void Fact(const char* key, const std::string& value) {
    RecordAs(Source::Sim, Kind::Summary, std::string(key) + " " + value);
}

void Fact(const char* key, std::uint64_t value) {
    Fact(key, std::to_string(value));
}

} // namespace

int RecordSummary(const RunFacts& facts) {
    Fact("plugins-found", facts.plugins.found);
    Fact("plugins-loaded", facts.plugins.loaded);
    Fact("plugins-refused", facts.plugins.refused);
    Fact("plugins-failed", facts.plugins.failed);
    Fact("listeners", facts.listeners);
    Fact("sinks", facts.sinks);
    Fact("game-loads", facts.gameLoads);
    Fact("commands", facts.commands);
    Fact("threads-before-loads", facts.threadsBeforeLoads);
    Fact("threads-after-wait", facts.threadsAfterWait);
    Fact("handle-probe-before", Hex(facts.before.probeHandle));
    Fact("handle-probe-after", Hex(facts.after.probeHandle));
    Fact("handles-before", facts.before.handles);
    Fact("handles-after", facts.after.handles);
    Fact("private-bytes-before", facts.before.privateBytes);
    Fact("private-bytes-after", facts.after.privateBytes);
    if (facts.walk) {
        Fact("walked-calls", facts.walk->calls);
        Fact("walked-calls-extender", facts.walk->extender);
        Fact("walked-calls-game", facts.walk->game);
        Fact("walked-calls-worker", facts.walk->worker);
        Fact("walked-calls-other", facts.walk->other);
    }
    int errors = ErrorCount();
    Fact("errors", static_cast<std::uint64_t>(errors));
    return errors == 0 ? 0 : 1;
}

} // namespace sim
