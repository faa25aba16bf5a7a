#include "tests/bad_inputs/bad_input.h"

namespace testing {

const NumberedKey kKeysInWriteOrder[18] = {{"iInSafeTemperature", 1},
                                           {"iInSealedInterior", 2},
                                           {"iIsOnPlayerHomeSpaceship", 3},
                                           {"iInSealedSpaceship", 4},
                                           {"iIsCurrentAtmosphereBreatheable", 5},
                                           {"iIsInHabitableSettlement", 17},
                                           {"iIsWeaponDrawn", 6},
                                           {"iInHazardousEnvironment", 7},
                                           {"iIsInExtremePlanetTemperature", 8},
                                           {"iInIsCombat", 9},
                                           {"iAreHostilesNearby", 10},
                                           {"iOnExtremePlanet", 11},
                                           {"iIsCurrentWeatherIsHazardous", 12},
                                           {"iIsCurrentWeatherIsPotentiallyHazardous", 13},
                                           {"iIsInZeroGravity", 14},
                                           {"iIsInExtremelyHighGravity", 15},
                                           {"iIsTakingEnvironmentalDamage", 16},
                                           {"bDebugMode", 18}};

std::string FullTextWithoutDebugMode(const std::string& lineEnd) {
    std::string text = "[Settings]" + lineEnd;
    for (const auto& [name, number] : kKeysInWriteOrder) {
        if (number != 18) {
            text += name + ("=" + std::to_string(number * 10)) + lineEnd;
        }
    }
    return text;
}

std::string FullText(const std::string& lineEnd) {
    return FullTextWithoutDebugMode(lineEnd) + "bDebugMode=1" + lineEnd;
}

std::string Utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += {c, '\0'};
    }
    return bytes;
}

std::string Utf16Be(const std::string& ascii) {
    std::string bytes = "\xFE\xFF";
    for (char c : ascii) {
        bytes += {'\0', c};
    }
    return bytes;
}

} // namespace testing
