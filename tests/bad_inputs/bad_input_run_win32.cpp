#include "tests/bad_inputs/bad_input_run.h"

#include "tests/simulated_game/helmshroud_game.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <memory>
#include <thread>

namespace testing {

namespace {

// The eighteen keys in send order, as the companion script numbers them.
const char* const kKeysBySendNumber[] = {
    "iInSafeTemperature",
    "iInSealedInterior",
    "iIsOnPlayerHomeSpaceship",
    "iInSealedSpaceship",
    "iIsCurrentAtmosphereBreatheable",
    "iIsWeaponDrawn",
    "iInHazardousEnvironment",
    "iIsInExtremePlanetTemperature",
    "iInIsCombat",
    "iAreHostilesNearby",
    "iOnExtremePlanet",
    "iIsCurrentWeatherIsHazardous",
    "iIsCurrentWeatherIsPotentiallyHazardous",
    "iIsInZeroGravity",
    "iIsInExtremelyHighGravity",
    "iIsTakingEnvironmentalDamage",
    "iIsInHabitableSettlement",
    "bDebugMode",
};

bool Readable(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

std::vector<std::string> ProfileValues(const std::string& path) {
    std::vector<std::string> values;
    if (!Readable(path)) {
        return values;
    }
    for (const char* key : kKeysBySendNumber) {
        char value[255] = {};
        GetPrivateProfileStringA("Settings", key, "", value, sizeof value, path.c_str());
        values.emplace_back(value);
    }
    return values;
}

// Puts the settings file in place; returns the handle that holds it open, or null.
HANDLE Prepare(const HelmshroudGame& game, const CaseFile& input, bool& prepared) {
    const std::string path = game.IniPath();
    prepared = true;
    if (input.bytes) {
        WriteFileBytes(path, *input.bytes);
        prepared = ReadFileBytes(path) == *input.bytes;
    }
    std::string folder = game.PluginFolder();
    HANDLE holder = nullptr;
    switch (input.placement) {
    case Placement::Folder:
        prepared = CreateDirectoryA(path.c_str(), nullptr) != FALSE;
        break;
    case Placement::TemporaryTaken:
        prepared = CreateDirectoryA((path + ".helmshroud-new").c_str(), nullptr) != FALSE;
        break;
    case Placement::ReadOnlyFile:
        prepared = prepared && SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
        break;
    case Placement::ReadOnlyFolder:
        prepared = prepared && SetFileAttributesA(folder.substr(0, folder.size() - 1).c_str(),
                                                  FILE_ATTRIBUTE_READONLY) != FALSE;
        break;
    case Placement::HeldExclusively:
    case Placement::HeldSharingReads:
        holder = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                             input.placement == Placement::HeldSharingReads ? FILE_SHARE_READ : 0,
                             nullptr, OPEN_EXISTING, 0, nullptr);
        break;
    default:
        break;
    }
    if (holder == INVALID_HANDLE_VALUE) {
        prepared = false;
        holder = nullptr;
    }
    return holder;
}

void Gather(const HelmshroudGame& game, CaseOutcome& outcome) {
    const std::string path = game.IniPath();
    std::string folder = game.PluginFolder();
    DWORD file = GetFileAttributesA(path.c_str());
    outcome.fileExists = file != INVALID_FILE_ATTRIBUTES;
    outcome.fileIsFolder = outcome.fileExists && (file & FILE_ATTRIBUTE_DIRECTORY) != 0;
    outcome.fileReadOnly = outcome.fileExists && (file & FILE_ATTRIBUTE_READONLY) != 0;
    outcome.pluginFolderPlain =
        GetFileAttributesA(folder.substr(0, folder.size() - 1).c_str()) == FILE_ATTRIBUTE_DIRECTORY;
    outcome.log = ReadFileBytes(game.LogPath());
    outcome.after = ReadFileBytes(path);
    outcome.entries = EntriesBelow(folder);
    outcome.valuesAfter = ProfileValues(path);
}

} // namespace

std::vector<CaseOutcome> RunCases(const std::vector<CaseFile>& inputs) {
    std::vector<std::unique_ptr<HelmshroudGame>> games;
    std::vector<CaseOutcome> outcomes(inputs.size());
    std::vector<HANDLE> holders;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        games.push_back(std::make_unique<HelmshroudGame>());
        outcomes[i].installed = games[i]->Installed();
        holders.push_back(Prepare(*games[i], inputs[i], outcomes[i].prepared));
    }

    // Every run waits 2000 ms for the plugin's worker; side by side they cost that wait once. A
    // run ends once its worker is done, which may take seconds of its own for files of megabytes
    // on a loaded machine.
    std::vector<std::thread> runs;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        runs.emplace_back([&, i] {
            const char* expected = inputs[i].sends == SendsForm::Nothing ? "0" : "18";
            outcomes[i].run =
                games[i]->Run({"--expect-commands", expected, "--wait", "12000"}, 20000);
        });
    }
    for (std::thread& run : runs) {
        run.join();
    }

    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (holders[i] != nullptr) {
            CloseHandle(holders[i]);
        }
        Gather(*games[i], outcomes[i]);
        std::string folder = games[i]->PluginFolder();
        SetFileAttributesA(folder.substr(0, folder.size() - 1).c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(games[i]->IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    return outcomes;
}

bool ReadOnlyMarkStopsWrites() {
    TempFolder folder;
    std::string path = folder / "probe.ini";
    WriteFileBytes(path, "[Probe]\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    bool stopped = file == INVALID_HANDLE_VALUE;
    if (!stopped) {
        CloseHandle(file);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return stopped;
}

std::vector<std::string> ValuesReadFrom(const std::string& bytes) {
    TempFolder folder;
    std::string path = folder / "reference.ini";
    WriteFileBytes(path, bytes);
    return ProfileValues(path);
}

std::string AfterOneRepairWrite(const std::string& bytes) {
    TempFolder folder;
    std::string path = folder / "reference.ini";
    WriteFileBytes(path, bytes);
    WritePrivateProfileStringA("Settings", "bDebugMode", "0", path.c_str());
    return ReadFileBytes(path);
}

} // namespace testing
