#pragma once
// The settings file's section and keys. The companion script receives each value under its send
// number, so the numbers are part of the interface with it; key names and defaults are what players
// see in the file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace settings {

inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kDebugModeKey[] = "bDebugMode";
inline constexpr char kDebugModeRepairValue[] = "0";
inline constexpr int kDebugModeSendNumber = 18;

struct SettingKey {
    const char* name;
    const char* defaultValue;
    int sendNumber;
};

// In the order the keys are written when the file is created.
inline constexpr std::array<SettingKey, 18> kSettingKeys{{
    {"iInSafeTemperature", "1", 1},
    {"iInSealedInterior", "-1", 2},
    {"iIsOnPlayerHomeSpaceship", "-1", 3},
    {"iInSealedSpaceship", "-1", 4},
    {"iIsCurrentAtmosphereBreatheable", "1", 5},
    {"iIsInHabitableSettlement", "-1", 17},
    {"iIsWeaponDrawn", "0", 6},
    {"iInHazardousEnvironment", "0", 7},
    {"iIsInExtremePlanetTemperature", "0", 8},
    {"iInIsCombat", "0", 9},
    {"iAreHostilesNearby", "0", 10},
    {"iOnExtremePlanet", "0", 11},
    {"iIsCurrentWeatherIsHazardous", "0", 12},
    {"iIsCurrentWeatherIsPotentiallyHazardous", "-1", 13},
    {"iIsInZeroGravity", "0", 14},
    {"iIsInExtremelyHighGravity", "0", 15},
    {"iIsTakingEnvironmentalDamage", "0", 16},
    {kDebugModeKey, "0", kDebugModeSendNumber},
}};

// Which of the eighteen keys stand in a part of the file: bit i for kSettingKeys[i].
using KeyMask = std::uint32_t;
static_assert(kSettingKeys.size() <= 32);

// The bit of one of kSettingKeys.
inline KeyMask MaskOf(const SettingKey& key) {
    return KeyMask{1} << (&key - kSettingKeys.data());
}

// The key sent under number n (1 to 18); the last key for any other n.
constexpr const SettingKey& KeyBySendNumber(int n) {
    std::size_t at = 0;
    while (at + 1 < kSettingKeys.size() && kSettingKeys[at].sendNumber != n) {
        ++at;
    }
    return kSettingKeys[at];
}

// The eighteen values in send order: value n at index n - 1.
using SettingValues = std::array<std::string, kSettingKeys.size()>;

// The value of key among values: the one sent under its number.
inline const std::string& ValueOf(const SettingValues& values, const SettingKey& key) {
    return values[static_cast<std::size_t>(key.sendNumber - 1)];
}

// The keys whose value among values is empty.
inline KeyMask EmptyIn(const SettingValues& values) {
    KeyMask empty = 0;
    for (const SettingKey& key : kSettingKeys) {
        empty |= ValueOf(values, key).empty() ? MaskOf(key) : 0;
    }
    return empty;
}

} // namespace settings
