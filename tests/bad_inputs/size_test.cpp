// Settings files of unusual size: long values, a 1 MiB line, 100,000 keys in 10 MiB.
#include "tests/bad_inputs/bad_input_check.h"

#include <doctest.h>

using namespace testing;

namespace {

const std::size_t kMiB = 1024 * 1024;

// count keys "iExtra<i>=<value>" that the plugin does not know, one per line.
std::string ExtraKeys(int count, const std::string& value) {
    std::string lines;
    for (int i = 0; i < count; ++i) {
        lines += "iExtra" + std::to_string(i) + "=" + value + "\r\n";
    }
    return lines;
}

// A long value as the warning shows it.
std::string Cut(char c) {
    return std::string(64, c) + "...";
}

// FullText without its first line, "[Settings]\r\n".
std::string KeyLines() {
    return FullText().substr(12);
}
std::string KeyLinesWithoutDebugMode() {
    return FullTextWithoutDebugMode().substr(12);
}

} // namespace

TEST_CASE("values of 254, 255 and 1,000 characters go out cut to 254 and stay whole in the file") {
    const std::string longest = std::string(1000, 'c');
    RunAndCheck({
        Warned(
            Kept("values of 254, 255 and 1,000 characters",
                 "[Settings]\r\niInSafeTemperature=" + std::string(254, 'a') +
                     "\r\niInSealedInterior=" + std::string(255, 'b') +
                     "\r\niIsOnPlayerHomeSpaceship=" + longest + "\r\nbDebugMode=1\r\n",
                 Values({{1, std::string(254, 'a')},
                         {2, std::string(254, 'b')},
                         {3, std::string(254, 'c')},
                         {18, "1"}})),
            {SentEmptyBut({"iInSafeTemperature", "iInSealedInterior", "iIsOnPlayerHomeSpaceship"}),
             Unfit("iInSafeTemperature", Cut('a')), Unfit("iInSealedInterior", Cut('b')),
             Unfit("iIsOnPlayerHomeSpaceship", Cut('c'))}),
        Warned(Repaired("a value of 1,000 characters, no bDebugMode",
                        "[Settings]\r\niIsWeaponDrawn=" + longest + "\r\n",
                        Values({{6, std::string(254, 'c')}}),
                        "[Settings]\r\niIsWeaponDrawn=" + longest + "\r\nbDebugMode=0\r\n"),
               {SentEmptyBut({"iIsWeaponDrawn"}), Unfit("iIsWeaponDrawn", Cut('c'))}),
        Warned(Kept("a bDebugMode of 1,000 characters",
                    "[Settings]\r\nbDebugMode=" + longest + "\r\n",
                    Values({{18, std::string(254, 'c')}})),
               {kAllSentEmpty, Unfit("bDebugMode", Cut('c'))}),
    });
}

TEST_CASE("a 1 MiB line and a 10 MiB file of 100,000 keys are read whole and kept whole, and the "
          "warnings about them stay short") {
    const std::string mebibyteComment = ";" + std::string(kMiB, 'x') + "\r\n";
    const std::string mebibyteValue = std::string(kMiB, '7');
    // 100,000 lines of 105 bytes or more. Every key is counted, however many there are.
    const std::string extraKeys = ExtraKeys(100000, std::string(94, 'v'));
    const std::vector<std::string> extraKeyLines = {
        Unknown("iExtra0"),
        Unknown("iExtra1"),
        Unknown("iExtra2"),
        Unknown("iExtra3"),
        Unknown("iExtra4"),
        "Install_Helmshroud :: Warning: 99995 more keys in Helmshroud.ini are none of the plugin's "
        "keys and were ignored."};
    REQUIRE(extraKeys.size() > 10 * kMiB);
    RunAndCheck({
        Kept("a comment line of 1 MiB", mebibyteComment + FullText(), FullValues()),
        Warned(Kept("a key name of 1 MiB",
                    "[Settings]\r\n" + std::string(kMiB, 'k') + "=1\r\n" + KeyLines(),
                    FullValues()),
               {Unknown(Cut('k'))}),
        Warned(Kept("a value of 1 MiB",
                    "[Settings]\r\niIsWeaponDrawn=" + mebibyteValue + "\r\nbDebugMode=1\r\n",
                    Values({{6, std::string(254, '7')}, {18, "1"}})),
               {SentEmptyBut({"iIsWeaponDrawn"})}),
        Warned(Repaired("a value of 1 MiB, no bDebugMode",
                        "[Settings]\r\niIsWeaponDrawn=" + mebibyteValue + "\r\n",
                        Values({{6, std::string(254, '7')}}),
                        "[Settings]\r\niIsWeaponDrawn=" + mebibyteValue + "\r\nbDebugMode=0\r\n"),
               {SentEmptyBut({"iIsWeaponDrawn"})}),
        Warned(Kept("100,000 keys", "[Settings]\r\n" + extraKeys + KeyLines(), FullValues()),
               extraKeyLines),
        Warned(Repaired("100,000 keys, no bDebugMode",
                        "[Settings]\r\n" + extraKeys + KeyLinesWithoutDebugMode(), FullValues(),
                        "[Settings]\r\n" + extraKeys + KeyLinesWithoutDebugMode() +
                            "bDebugMode=0\r\n"),
               extraKeyLines),
    });
}
