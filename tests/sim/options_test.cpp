#include "sim/options.h"
#include "sim/platform/platform.h"

#include <doctest.h>

using sim::ParseOptions;

TEST_CASE("without arguments the simulator sends message 2, runs one load and waits 3000 ms") {
    sim::ParseResult parsed = ParseOptions({});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.messages == std::vector<std::uint32_t>{2});
    CHECK(parsed.options.loads == 1);
    CHECK(parsed.options.firstLoadAfterMs == 0);
    CHECK(parsed.options.waitMs == 3000);
    CHECK_FALSE(parsed.options.expectCommands.has_value());
    CHECK_FALSE(parsed.options.documents.has_value());
    CHECK_FALSE(parsed.options.documentsFailure.has_value());
    CHECK_FALSE(parsed.options.failCreateThread);
    CHECK(parsed.options.transcript.empty());
}

TEST_CASE("a message list is sent in the order given, and an empty list sends nothing") {
    sim::ParseResult parsed =
        ParseOptions({"--messages", "3,0,2", "--loads", "2", "--expect-commands", "36"});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.messages == std::vector<std::uint32_t>{3, 0, 2});
    CHECK(parsed.options.loads == 2);
    CHECK(parsed.options.expectCommands == 36u);

    parsed = ParseOptions({"--messages", ""});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.messages.empty());
}

TEST_CASE("a documents failure is read as a negative HRESULT, written in hex or decimal") {
    sim::ParseResult parsed = ParseOptions({"--documents-fail", "0x80070005"});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.documentsFailure == static_cast<std::int32_t>(0x80070005u));

    parsed = ParseOptions({"--documents-fail", "-2147467259"});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.documentsFailure == static_cast<std::int32_t>(0x80004005u));

    CHECK_FALSE(ParseOptions({"--documents-fail", "0"}).error.empty());
    CHECK_FALSE(
        ParseOptions({"--documents-fail", "0x80070005", "--documents", "C:\\d"}).error.empty());
}

TEST_CASE("unknown options, missing values and malformed numbers are refused") {
    CHECK(ParseOptions({"--bogus"}).error == "unknown option --bogus");
    CHECK(ParseOptions({"--loads"}).error == "--loads needs a value");
    CHECK_FALSE(ParseOptions({"--loads", "-1"}).error.empty());
    CHECK_FALSE(ParseOptions({"--wait", "12ms"}).error.empty());
    CHECK_FALSE(ParseOptions({"--messages", "2,,3"}).error.empty());
    CHECK_FALSE(ParseOptions({"--messages", "2,"}).error.empty());
    CHECK_FALSE(ParseOptions({"--loads", "4294967296"}).error.empty());
    CHECK(ParseOptions({"--help"}).help);
}

TEST_CASE("the benchmark mode takes its JSON file and a positive number of measured calls") {
    sim::ParseResult parsed = ParseOptions({"--benchmark", "Z:\\b\\bench.json"});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.benchmark == "Z:\\b\\bench.json");
    CHECK(parsed.options.benchLoads == 500);

    parsed = ParseOptions({"--benchmark", "b.json", "--bench-loads", "20"});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.benchLoads == 20);
    CHECK(ParseOptions({}).options.benchmark.empty());
    CHECK(ParseOptions({"--bench-loads", "0"}).error == "bad value for --bench-loads: 0");
    CHECK(ParseOptions({"--benchmark", ""}).error == "bad value for --benchmark: ");
}

TEST_CASE("the thread and working-folder faults are read, and failing every CreateThread excludes "
          "failing the first few") {
    sim::ParseResult parsed =
        ParseOptions({"--fail-create-threads", "2", "--leak-thread-handles",
                      "--working-folder-after-load", "C:\\elsewhere", "--warm-up-threads", "500"});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.failCreateThreads == 2);
    CHECK_FALSE(parsed.options.failCreateThread);
    CHECK(parsed.options.leakThreadHandles);
    CHECK(parsed.options.workingFolderAfterLoad == std::string("C:\\elsewhere"));
    CHECK(parsed.options.warmUpThreads == 500);

    CHECK_FALSE(ParseOptions({"--fail-create-threads", "0"}).error.empty());
    CHECK(ParseOptions({"--fail-create-thread", "--fail-create-threads", "1"}).error ==
          "--fail-create-thread and --fail-create-threads exclude each other");
    CHECK_FALSE(ParseOptions({"--working-folder-after-load", ""}).error.empty());
}

TEST_CASE("the allocation walk counts with 0, fails from N on when asked and excludes the other "
          "doubles at the worker's wait, and slow log writes take a positive time") {
    sim::ParseResult parsed = ParseOptions({"--fail-allocation", "0", "--slow-log-writes", "1000",
                                            "--stdout-unread", "--null-message"});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.nullMessage);
    CHECK(parsed.options.failAllocation == 0u);
    CHECK_FALSE(parsed.options.failLaterAllocations);
    CHECK(parsed.options.slowLogWritesMs == 1000);
    CHECK(parsed.options.stdoutUnread);
    parsed = ParseOptions({"--fail-allocations-from", "3"});
    CHECK(parsed.options.failAllocation == 3u);
    CHECK(parsed.options.failLaterAllocations);
    CHECK_FALSE(ParseOptions({}).options.failAllocation.has_value());

    CHECK_FALSE(
        ParseOptions({"--fail-allocation", "1", "--fail-allocations-from", "2"}).error.empty());
    CHECK_FALSE(
        ParseOptions({"--fail-allocation", "1", "--fail-worker-malloc", "1"}).error.empty());
    CHECK_FALSE(ParseOptions({"--fail-allocation", "1", "--benchmark", "b.json"}).error.empty());
    CHECK_FALSE(ParseOptions({"--slow-log-writes", "0"}).error.empty());
}

TEST_CASE("a call walk is named with its call, takes a count of calls in a row, and excludes the "
          "other doubles at the worker's wait and at WriteFile") {
    sim::ParseResult parsed = ParseOptions({"--fail-call", "rewrite", "7", "--fail-count", "2"});
    REQUIRE(parsed.error.empty());
    CHECK(parsed.options.failWalk == std::string("rewrite"));
    CHECK(parsed.options.failWalkCall == 7);
    CHECK(parsed.options.failCount == 2u);

    CHECK_FALSE(ParseOptions({"--fail-call", "profiles", "1"}).error.empty());
    CHECK_FALSE(ParseOptions({"--fail-call", "profile"}).error.empty());
    CHECK_FALSE(ParseOptions({"--fail-count", "2"}).error.empty());
    CHECK_FALSE(
        ParseOptions({"--fail-call", "profile", "1", "--fail-allocation", "1"}).error.empty());
    CHECK_FALSE(
        ParseOptions({"--fail-call", "log-writes", "1", "--slow-log-writes", "9"}).error.empty());
}

TEST_CASE("the extender hands over its load interface whole unless told to withhold it or its "
          "messaging interface") {
    CHECK_FALSE(ParseOptions({"--load-interface", "full"}).options.nullLoadInterface);
    CHECK(ParseOptions({"--load-interface", "null"}).options.nullLoadInterface);
    sim::ParseResult parsed = ParseOptions({"--load-interface", "no-messaging"});
    CHECK(parsed.options.noMessagingInterface);
    CHECK_FALSE(parsed.options.nullLoadInterface);
    CHECK(ParseOptions({"--load-interface", "none"}).error ==
          "bad value for --load-interface: none");
}

TEST_CASE("the transcript records each option that changes the run in its own words, in the order "
          "of the help, and no other") {
    const std::string gameDir = "game-dir " + sim::WorkingFolder();
    sim::ParseResult parsed =
        ParseOptions({"--wait", "5", "--fail-count", "2", "--documents", "Z:\\d", "--fail-call",
                      "rewrite", "7", "--console-fault", "4", "--console-delay", "3",
                      "--load-interface", "no-messaging", "--messages", ""});
    REQUIRE(parsed.error.empty());
    CHECK(sim::RecordedOptions(parsed.options) ==
          std::vector<std::string>{
              "messages none", "loads 1 interval 10 ms, first 0 ms after the messages", gameDir,
              "documents Z:\\d", "fail-call rewrite 7, fail-count 2", "load-interface no-messaging",
              "console-delay 3 ms", "console-fault on command 4"});

    parsed = ParseOptions({"--benchmark", "b.json", "--bench-loads", "20", "--slow-log-writes", "9",
                           "--warm-up-threads", "2", "--stdout-unread", "--leak-thread-handles",
                           "--working-folder-after-load", "C:\\w", "--fail-create-thread",
                           "--load-interface", "null", "--null-message"});
    REQUIRE(parsed.error.empty());
    CHECK(sim::RecordedOptions(parsed.options) ==
          std::vector<std::string>{
              "messages 2", gameDir, "fail-create-thread", "leak-thread-handles",
              "slow-log-writes 9 ms", "load-interface null", "stdout-unread",
              "working-folder-after-load C:\\w", "warm-up-threads 2",
              "benchmark b.json, 20 measured calls of each kind", "null-message"});

    CHECK(sim::RecordedOptions(ParseOptions({"--fail-allocation", "0"}).options).back() ==
          "fail-allocation 0");
    CHECK(sim::RecordedOptions(ParseOptions({"--fail-worker-malloc", "3"}).options).back() ==
          "fail-worker-malloc 3");
    CHECK(sim::RecordedOptions(ParseOptions({"--fail-create-threads", "2"}).options).back() ==
          "fail-create-threads 2");
    CHECK(sim::RecordedOptions(ParseOptions({"--fail-allocations-from", "5"}).options).back() ==
          "fail-allocations-from 5");
}
