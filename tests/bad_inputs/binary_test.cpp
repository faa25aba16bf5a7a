// Settings files that are not text: NUL bytes, random bytes, UTF-16 without its byte-order mark.
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
        Warned(Kept("NUL bytes", nulText + "bDebugMode=1\r\n", Values({{6, "5"}, {18, "1"}})),
               {SentEmptyBut({"iIsWeaponDrawn"})}),
        Kept("4 KiB of random bytes, then the settings", random + "\r\n" + FullText(),
             FullValues()),
    });
}

TEST_CASE("a file with NUL bytes outside UTF-16 is not repaired, since the rewrite would cut its "
          "lines at the NUL bytes, UTF-16 without its mark keeps every setting, and a file that "
          "reads as no text is told how to save it") {
    const std::string nulText = "[Settings]\r\niIsWeaponDrawn=5" + Nul(2) + "junk\r\n" +
                                "iInSafeTemperature=" + Nul(1) + "7\r\n" + Nul(3) + "\r\n";
    // The profile functions see no [Settings] in UTF-16 without a mark: every value reads empty.
    const std::string utf16Le = Utf16(FullText()).substr(2);
    const std::string utf16Be = Utf16Be(FullText()).substr(2);
    const std::vector<std::string> noText = {kNoText, kAllSentEmpty};
    RunAndCheck({
        Warned(RepairRefused("NUL bytes, no bDebugMode", nulText, Values({{6, "5"}})),
               {SentEmptyBut({"iIsWeaponDrawn"})}),
        Warned(RepairRefused("4 KiB of random bytes", RandomBytes(4096, kSeed), Values({})),
               noText),
        Warned(RepairRefused("UTF-16 LE without its byte-order mark", utf16Le, Values({})), noText),
        Warned(RepairRefused("UTF-16 BE without its byte-order mark", utf16Be, Values({})), noText),
    });
}
