#include "tests/bad_inputs/bad_input.h"

#include <algorithm>
#include <random>
#include <string_view>

namespace testing {

namespace {

// The seventeen integer settings as a player keeps them, in the order the plugin writes them.
const char* const kIntegerLines[] = {
    "iInSafeTemperature=10",
    "iInSealedInterior=20",
    "iIsOnPlayerHomeSpaceship=30",
    "iInSealedSpaceship=40",
    "iIsCurrentAtmosphereBreatheable=50",
    "iIsInHabitableSettlement=170",
    "iIsWeaponDrawn=60",
    "iInHazardousEnvironment=70",
    "iIsInExtremePlanetTemperature=80",
    "iInIsCombat=90",
    "iAreHostilesNearby=100",
    "iOnExtremePlanet=110",
    "iIsCurrentWeatherIsHazardous=120",
    "iIsCurrentWeatherIsPotentiallyHazardous=130",
    "iIsInZeroGravity=140",
    "iIsInExtremelyHighGravity=150",
    "iIsTakingEnvironmentalDamage=160",
};

} // namespace

BadInput Kept(std::string name, std::string bytes, std::vector<std::string> sent) {
    BadInput input;
    input.name = std::move(name);
    input.after = bytes;
    input.bytes = std::move(bytes);
    input.sent = std::move(sent);
    input.log = {kCalled};
    return input;
}

BadInput Repaired(std::string name, std::string bytes, std::vector<std::string> sent,
                  std::string after) {
    BadInput input;
    input.name = std::move(name);
    input.bytes = std::move(bytes);
    input.sent = With(std::move(sent), 18, "0");
    input.log = {kRepaired, kCalled};
    input.after = std::move(after);
    return input;
}

BadInput RepairRefused(std::string name, std::string bytes, std::vector<std::string> sent,
                       Placement placement) {
    BadInput input = Kept(std::move(name), std::move(bytes), std::move(sent));
    input.log = {kRepairFailed, kCalled};
    input.placement = placement;
    return input;
}

BadInput Placed(BadInput input, Placement placement) {
    input.placement = placement;
    return input;
}

BadInput Warned(BadInput input, const std::vector<std::string>& warnings) {
    input.log.insert(input.log.end() - 1, warnings.begin(), warnings.end());
    return input;
}

std::string SentEmptyBut(const std::vector<std::string>& present) {
    std::string names;
    std::size_t count = 0;
    for (std::string_view line : kIntegerLines) {
        std::string key(line.substr(0, line.find('=')));
        if (std::find(present.begin(), present.end(), key) == present.end()) {
            names += (count++ == 0 ? "" : ", ") + key;
        }
    }
    return "Install_Helmshroud :: Warning: " + std::to_string(count) +
           " keys in Helmshroud.ini are missing or empty and were sent empty: " + names + ".";
}

std::string Unfit(const std::string& key, const std::string& shown) {
    return "Install_Helmshroud :: Warning: key '" + key + "' in Helmshroud.ini holds '" + shown +
           "', " + (key == "bDebugMode" ? "not 0 or 1" : "not a whole number") +
           "; it was sent as written, and the game script decides what it means.";
}

std::string Unknown(const std::string& shown, const std::string& meant) {
    return "Install_Helmshroud :: Warning: key '" + shown +
           "' in Helmshroud.ini is not one of the plugin's keys and was ignored." +
           (meant.empty() ? "" : " Did you mean '" + meant + "'?");
}

std::string FullTextWithoutDebugMode(const std::string& lineEnd) {
    std::string text = "[Settings]" + lineEnd;
    for (const char* line : kIntegerLines) {
        text += line + lineEnd;
    }
    return text;
}

std::string FullText(const std::string& lineEnd) {
    return FullTextWithoutDebugMode(lineEnd) + "bDebugMode=1" + lineEnd;
}

std::vector<std::string> FullValues() {
    return {"10",  "20",  "30",  "40",  "50",  "60",  "70",  "80",  "90",
            "100", "110", "120", "130", "140", "150", "160", "170", "1"};
}

std::vector<std::string> Values(const std::vector<std::pair<int, std::string>>& set) {
    std::vector<std::string> values(18);
    for (const auto& [n, value] : set) {
        values = With(std::move(values), n, value);
    }
    return values;
}

std::vector<std::string> With(std::vector<std::string> values, int n, std::string value) {
    values.at(static_cast<std::size_t>(n - 1)) = std::move(value);
    return values;
}

std::string Utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

std::string Utf16Be(const std::string& ascii) {
    std::string bytes = "\xFE\xFF";
    for (char c : ascii) {
        bytes += '\0';
        bytes += c;
    }
    return bytes;
}

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed); // the standard fixes mt19937's sequence for a given seed
    std::string bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        bytes += static_cast<char>(static_cast<unsigned char>(generator() & 0xFFu));
    }
    return bytes;
}

} // namespace testing
