// Settings files that are not text: NUL bytes, random bytes.
#include "tests/bad_inputs/bad_input_check.h"

#include <doctest.h>

using namespace testing;

namespace {

const unsigned kSeed = 20240607;

std::string Nul(std::size_t count) {
    return std::string(count, '\0');
}

} // namespace

TEST_CASE("NUL bytes and random binary neither crash nor stall the game, and the values around "
          "them are kept") {
    const std::string nulText = "[Settings]\r\niIsWeaponDrawn=5" + Nul(2) + "junk\r\n" +
                                "iInSafeTemperature=" + Nul(1) + "7\r\n" + Nul(3) + "\r\n";
    const std::string random = RandomBytes(4096, kSeed);
    RunAndCheck({
        Kept("NUL bytes", nulText + "bDebugMode=1\r\n", Values({{6, "5"}, {18, "1"}})),
        Kept("4 KiB of random bytes, then the settings", random + "\r\n" + FullText(),
             FullValues()),
    });
}
