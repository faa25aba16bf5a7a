#include "sim/options.h"

#include <algorithm>

namespace sim {

namespace {

// The help's column where an option's help starts.
constexpr std::size_t kHelpColumn = 26;

std::size_t ValueCount(const OptionRow& row) {
    std::string_view value = row.value;
    return value.empty() ? 0 : 1 + static_cast<std::size_t>(std::ranges::count(value, ' '));
}

std::string Joined(OptionValues values) {
    std::string text;
    for (const std::string& value : values) {
        text += (text.empty() ? "" : " ") + value;
    }
    return text;
}

// What options given together get wrong: "" when nothing.
std::string Conflict(const Options& options) {
    // Each of these puts its own double at the worker's wait.
    int waitDoubles = (options.failAllocation ? 1 : 0) + (options.failWorkerMalloc > 0 ? 1 : 0) +
                      (options.benchmark.empty() ? 0 : 1) + (options.failWalk ? 1 : 0);
    if (options.documents && options.documentsFailure) {
        return "--documents and --documents-fail exclude each other";
    }
    if (options.failCreateThread && options.failCreateThreads > 0) {
        return "--fail-create-thread and --fail-create-threads exclude each other";
    }
    if (waitDoubles > 1) {
        return "--fail-allocation, --fail-call, --fail-worker-malloc and --benchmark exclude each "
               "other";
    }
    if (options.failCount && !options.failWalk) {
        return "--fail-count needs --fail-call";
    }
    // Both put their double at the plugin's WriteFile.
    if (options.failWalk && options.slowLogWritesMs > 0) {
        return "--fail-call and --slow-log-writes exclude each other";
    }
    return {};
}

} // namespace

std::string UsageText() {
    std::string text =
        "Quorvalen.exe [options]: runs the KORV plugins of a game folder in a simulated game\n";
    for (const OptionRow& row : OptionTable()) {
        std::string head = "  " + std::string(row.name) + (*row.value ? " " : "") + row.value;
        text += head.size() < kHelpColumn ? head + std::string(kHelpColumn - head.size(), ' ')
                                          : head + "\n" + std::string(kHelpColumn, ' ');
        for (const char* c = row.help; *c != '\0'; ++c) {
            text += *c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, *c);
        }
        text += '\n';
    }
    return text;
}

ParseResult ParseOptions(const std::vector<std::string>& arguments) {
    ParseResult result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            result.help = true;
            return result;
        }
        auto row = std::ranges::find_if(OptionTable(),
                                        [&](const OptionRow& known) { return name == known.name; });
        if (row == OptionTable().end()) {
            result.error = "unknown option " + name;
            return result;
        }
        std::size_t count = ValueCount(*row);
        if (arguments.size() - i - 1 < count) {
            result.error =
                name + " needs " +
                (count == 1 ? std::string("a value") : std::to_string(count) + " values");
            return result;
        }
        OptionValues values(arguments.data() + i + 1, count);
        if (!row->set(result.options, values)) {
            result.error = "bad value for " + name + ": " + Joined(values);
            return result;
        }
        i += count;
    }
    result.error = Conflict(result.options);
    return result;
}

std::vector<std::string> RecordedOptions(const Options& options) {
    std::vector<std::string> entries;
    for (const OptionRow& row : OptionTable()) {
        std::string entry =
            row.recorded != nullptr ? row.recorded(options, row.name + 2) : std::string();
        if (!entry.empty()) {
            entries.push_back(entry);
        }
    }
    return entries;
}

} // namespace sim
