// The exported version record, byte by byte, as the extender reads it.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/simulator_run.h"
#include "tests/simulated_game/transcript_reader.h"

#include <doctest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

using namespace testing;

namespace {

std::uint32_t U32(const unsigned char* record, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

} // namespace

TEST_CASE("the version record holds version 1, the name Helmshroud zero-padded and runtime "
          "0x01080560 alone") {
    HMODULE dll = LoadLibraryA(WindowsPath(HELMSHROUD_DLL).c_str());
    REQUIRE(dll != nullptr);
    auto* record =
        reinterpret_cast<const unsigned char*>(GetProcAddress(dll, "KORVPlugin_Version"));
    REQUIRE(record != nullptr);

    CHECK(U32(record, 0) == 1);
    CHECK(U32(record, 4) == 1);
    CHECK(std::string(reinterpret_cast<const char*>(record + 8), 10) == "Helmshroud");
    CHECK(std::string(reinterpret_cast<const char*>(record + 18), 246) == std::string(246, '\0'));
    std::size_t authorLength = strnlen(reinterpret_cast<const char*>(record + 264), 256);
    CHECK(authorLength > 0);
    CHECK(authorLength < 256);
    CHECK(std::string(reinterpret_cast<const char*>(record + 264 + authorLength),
                      256 - authorLength) == std::string(256 - authorLength, '\0'));
    CHECK(U32(record, 520) == 0);
    CHECK(U32(record, 524) == 0);
    CHECK(U32(record, 528) == 0x01080560);
    for (std::size_t slot = 1; slot < 16; ++slot) {
        CHECK(U32(record, 528 + 4 * slot) == 0);
    }
    CHECK(U32(record, 592) == 0);
    CHECK(U32(record, 596) == 0);
    CHECK(U32(record, 600) == 0);
    FreeLibrary(dll);
}

TEST_CASE("the extender reads the same record and accepts the plugin") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run({"--messages", "", "--loads", "0", "--wait", "0"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    std::vector<std::string> fields = transcript.Details("record");
    REQUIRE(fields.size() == 8);
    CHECK(fields[0] == "record-version 1");
    CHECK(fields[1] == "plugin-version 1");
    CHECK(fields[2] == "name \"Helmshroud\"");
    CHECK(fields[6] == "compatible-runtimes 0x01080560");
    CHECK(transcript.OfKind("refused").empty());
    CHECK(transcript.Summary("plugins-loaded") == "1");
}
