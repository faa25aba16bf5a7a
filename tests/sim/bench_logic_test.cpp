// The benchmark's plain logic: its statistics and its goal verdicts.
#include "sim/bench/report.h"
#include "sim/bench/stats.h"

#include <doctest.h>

#include <algorithm>

namespace {

// The table row that starts with the figure's name.
std::string Row(const std::vector<std::string>& rows, const std::string& figure) {
    for (const std::string& row : rows) {
        if (row.rfind(figure, 0) == 0) {
            return row;
        }
    }
    return {};
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

TEST_CASE("the median lies halfway between the middle two samples and the 99th percentile is "
          "interpolated between ranks, whatever the samples' order") {
    CHECK(sim::Percentile({4, 1, 3, 2}, 0.5) == doctest::Approx(2.5));
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) {
        hundred.push_back(i);
    }
    sim::Spread spread = sim::SpreadOf(hundred);
    CHECK(spread.median == doctest::Approx(50.5));
    CHECK(spread.p99 == doctest::Approx(99.01));
    CHECK(spread.samples == 100);
    CHECK(sim::Percentile({7}, 0.99) == 7);
    CHECK(sim::Percentile({}, 0.5) == 0);
}

TEST_CASE("a ratio of exactly 1.5 meets its goal, while KORVPlugin_Load of 1 ms and a DLL of "
          "256 KiB miss theirs") {
    sim::BenchFigures figures;
    figures.sink = {{3.0, 6.0, 20}, {2.0, 3.0, 20}};
    figures.settingsRun = {{6.1, 9.0, 20}, {4.0, 6.0, 20}};
    figures.loadEntryMs = 1.0;
    figures.loadEntryFloorMs = 0.5;
    figures.dllBytes = 262144;
    std::vector<std::string> rows = sim::BenchTable(figures);
    CHECK(EndsWith(Row(rows, "game thread in the sink, median"), "1.50  <= 1.5 x floor   met"));
    CHECK(EndsWith(Row(rows, "settings routine run, median"), "1.52  <= 1.5 x floor   MISSED"));
    CHECK(EndsWith(Row(rows, "KORVPlugin_Load"), "MISSED"));
    CHECK(
        EndsWith(Row(rows, "DLL size"), "256.0 KiB            -       -  < 256 KiB        MISSED"));

    figures.loadEntryMs = 0.999;
    figures.dllBytes = 262143;
    rows = sim::BenchTable(figures);
    CHECK(EndsWith(Row(rows, "KORVPlugin_Load"), "< 1 ms           met"));
    CHECK(EndsWith(Row(rows, "DLL size"), "met"));
    std::string json = sim::BenchJson(figures);
    CHECK(json.find("\"ratio_median\": 1.500000") != std::string::npos);
    CHECK(json.find("\"ratio\": 1.998000") != std::string::npos);
}
