#include "tests/bad_inputs/bad_input.h"
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

} // namespace testing
