#include "tests/simulated_game/run_checks.h"

#include <algorithm>
#include <cstdlib>

namespace testing {

SinkTimes SinkDurations(const TranscriptReader& transcript) {
    SinkTimes times;
    for (const Entry& sink : transcript.OfKind("sink", "game")) {
        std::size_t after = sink.detail.find(" after ");
        if (after == std::string::npos) {
            continue;
        }
        ++times.calls;
        times.maxMs = std::max(times.maxMs, std::strtod(sink.detail.c_str() + after + 7, nullptr));
    }
    return times;
}

std::string RunsProblem(const std::vector<std::string>& commands,
                        const std::vector<std::string>& run) {
    if (run.empty() || commands.size() % run.size() != 0) {
        return std::to_string(commands.size()) + " commands are no whole number of runs of " +
               std::to_string(run.size());
    }
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i] != run[i % run.size()]) {
            return "command " + std::to_string(i) + " (run " + std::to_string(i / run.size() + 1) +
                   ") is '" + commands[i] + "', expected '" + run[i % run.size()] + "'";
        }
    }
    return {};
}

std::vector<std::string> UnknownLines(const std::vector<std::string>& lines,
                                      const std::vector<std::string>& known) {
    std::vector<std::string> unknown;
    for (const std::string& line : lines) {
        if (std::find(known.begin(), known.end(), line) == known.end()) {
            unknown.push_back(line);
        }
    }
    return unknown;
}

std::size_t CountOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

ResourceRise ResourcesRise(const TranscriptReader& transcript) {
    auto number = [&](const char* key, int base) {
        return std::strtoll(transcript.Summary(key).c_str(), nullptr, base);
    };
    ResourceRise rise;
    rise.handles = number("handles-after", 10) - number("handles-before", 10);
    rise.privateBytes = number("private-bytes-after", 10) - number("private-bytes-before", 10);
    return rise;
}

std::vector<std::string> PlayerCommands() {
    return {
        "CGF \"Helmshroud.SendIniData\" 1 1",   "CGF \"Helmshroud.SendIniData\" 2 -1",
        "CGF \"Helmshroud.SendIniData\" 3 -1",  "CGF \"Helmshroud.SendIniData\" 4 -1",
        "CGF \"Helmshroud.SendIniData\" 5 1",   "CGF \"Helmshroud.SendIniData\" 6 2",
        "CGF \"Helmshroud.SendIniData\" 7 0",   "CGF \"Helmshroud.SendIniData\" 8 0",
        "CGF \"Helmshroud.SendIniData\" 9 0",   "CGF \"Helmshroud.SendIniData\" 10 0",
        "CGF \"Helmshroud.SendIniData\" 11 0",  "CGF \"Helmshroud.SendIniData\" 12 0",
        "CGF \"Helmshroud.SendIniData\" 13 -1", "CGF \"Helmshroud.SendIniData\" 14 0",
        "CGF \"Helmshroud.SendIniData\" 15 0",  "CGF \"Helmshroud.SendIniData\" 16 0",
        "CGF \"Helmshroud.SendIniData\" 17 -1", "CGF \"Helmshroud.SendIniData\" 18 1",
    };
}

std::string PlayerSettingsFile() {
    // A player's own comment line and blank line, which the profile functions keep.
    return "; my settings\r\n"
           "[Settings]\r\n"
           "iInSafeTemperature=1\r\n"
           "iInSealedInterior=-1\r\n"
           "iIsOnPlayerHomeSpaceship=-1\r\n"
           "iInSealedSpaceship=-1\r\n"
           "iIsCurrentAtmosphereBreatheable=1\r\n"
           "iIsInHabitableSettlement=-1\r\n"
           "iIsWeaponDrawn=2\r\n"
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
           "\r\n"
           "bDebugMode=1\r\n";
}

} // namespace testing
