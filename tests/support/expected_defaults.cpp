#include "tests/support/expected_defaults.h"

namespace testing {

const char kDefaultSettingsFile[] = "[Settings]\r\n"
                                    "iInSafeTemperature=1\r\n"
                                    "iInSealedInterior=-1\r\n"
                                    "iIsOnPlayerHomeSpaceship=-1\r\n"
                                    "iInSealedSpaceship=-1\r\n"
                                    "iIsCurrentAtmosphereBreatheable=1\r\n"
                                    "iIsInHabitableSettlement=-1\r\n"
                                    "iIsWeaponDrawn=0\r\n"
                                    "iInHazardousEnvironment=0\r\n"
                                    "iIsInExtremePlanetTemperature=0\r\n"
                                    "iInIsCombat=0\r\n"
                                    "iAreHostilesNearby=0\r\n"
                                    "iOnExtremePlanet=0\r\n"
                                    "iIsCurrentWeatherIsHazardous=0\r\n"
                                    "iIsCurrentWeatherIsPotentiallyHazardous=-1\r\n"
                                    "iIsInZeroGravity=0\r\n"
                                    "iIsInExtremelyHighGravity=0\r\n"
                                    "iIsTakingEnvironmentalDamage=0\r\n"
                                    "bDebugMode=0\r\n";

std::vector<std::string> DefaultCommands() {
    return {
        "CGF \"Helmshroud.SendIniData\" 1 1",   "CGF \"Helmshroud.SendIniData\" 2 -1",
        "CGF \"Helmshroud.SendIniData\" 3 -1",  "CGF \"Helmshroud.SendIniData\" 4 -1",
        "CGF \"Helmshroud.SendIniData\" 5 1",   "CGF \"Helmshroud.SendIniData\" 6 0",
        "CGF \"Helmshroud.SendIniData\" 7 0",   "CGF \"Helmshroud.SendIniData\" 8 0",
        "CGF \"Helmshroud.SendIniData\" 9 0",   "CGF \"Helmshroud.SendIniData\" 10 0",
        "CGF \"Helmshroud.SendIniData\" 11 0",  "CGF \"Helmshroud.SendIniData\" 12 0",
        "CGF \"Helmshroud.SendIniData\" 13 -1", "CGF \"Helmshroud.SendIniData\" 14 0",
        "CGF \"Helmshroud.SendIniData\" 15 0",  "CGF \"Helmshroud.SendIniData\" 16 0",
        "CGF \"Helmshroud.SendIniData\" 17 -1", "CGF \"Helmshroud.SendIniData\" 18 0",
    };
}

} // namespace testing
