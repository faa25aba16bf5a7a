// The settings routine end to end: a temporary game folder as working directory, Wine's profile
// functions, and the console executor reached through this program's image (Quorvalen.exe).
#include "settings/guards/file_rewrite.h"
#include "settings/routine/Install.h"
#include "tests/settings/game_console.h"
#include "tests/support/expected_defaults.h"
#include "tests/support/files.h"
#include "tests/support/import_double.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

#include <atomic>
#include <cwchar>
#include <thread>

using namespace testing;

namespace {

constexpr char kIni[] = "Data\\KORV\\Plugins\\Helmshroud.ini";

// A game folder holding Data\KORV\Plugins\, made the working directory.
class GameFolder {
  public:
    GameFolder() { MakeFolders(folder_ / "Data\\KORV\\Plugins\\"); }
    std::string operator/(const std::string& relative) const { return folder_ / relative; }
    const std::string& Path() const { return folder_.Path(); }

  private:
    TempFolder folder_;
    WorkingDirectory cwd_{folder_.Path()};
};

struct RoutineRun {
    std::vector<std::string> commands;
    std::vector<std::string> lines; // what the routine printed, one entry per line
};

RoutineRun RunRoutine() {
    TakeConsoleCommands();
    StdoutCapture out;
    Install_Helmshroud();
    std::string printed = out.Finish();
    return {TakeConsoleCommands(), SplitLines(printed, "\n")};
}

// Every key but bDebugMode, each with its own value: 101 for the first key written, 117 for the
// seventeenth.
constexpr char kSeventeenKeys[] = "[Settings]\r\n"
                                  "iInSafeTemperature=101\r\n"
                                  "iInSealedInterior=102\r\n"
                                  "iIsOnPlayerHomeSpaceship=103\r\n"
                                  "iInSealedSpaceship=104\r\n"
                                  "iIsCurrentAtmosphereBreatheable=105\r\n"
                                  "iIsInHabitableSettlement=106\r\n"
                                  "iIsWeaponDrawn=107\r\n"
                                  "iInHazardousEnvironment=108\r\n"
                                  "iIsInExtremePlanetTemperature=109\r\n"
                                  "iInIsCombat=110\r\n"
                                  "iAreHostilesNearby=111\r\n"
                                  "iOnExtremePlanet=112\r\n"
                                  "iIsCurrentWeatherIsHazardous=113\r\n"
                                  "iIsCurrentWeatherIsPotentiallyHazardous=114\r\n"
                                  "iIsInZeroGravity=115\r\n"
                                  "iIsInExtremelyHighGravity=116\r\n"
                                  "iIsTakingEnvironmentalDamage=117\r\n";

// The values of kSeventeenKeys in send-number order, then the repaired bDebugMode.
const std::vector<std::string> kSeventeenKeysSent = {
    "CGF \"Helmshroud.SendIniData\" 1 101",  "CGF \"Helmshroud.SendIniData\" 2 102",
    "CGF \"Helmshroud.SendIniData\" 3 103",  "CGF \"Helmshroud.SendIniData\" 4 104",
    "CGF \"Helmshroud.SendIniData\" 5 105",  "CGF \"Helmshroud.SendIniData\" 6 107",
    "CGF \"Helmshroud.SendIniData\" 7 108",  "CGF \"Helmshroud.SendIniData\" 8 109",
    "CGF \"Helmshroud.SendIniData\" 9 110",  "CGF \"Helmshroud.SendIniData\" 10 111",
    "CGF \"Helmshroud.SendIniData\" 11 112", "CGF \"Helmshroud.SendIniData\" 12 113",
    "CGF \"Helmshroud.SendIniData\" 13 114", "CGF \"Helmshroud.SendIniData\" 14 115",
    "CGF \"Helmshroud.SendIniData\" 15 116", "CGF \"Helmshroud.SendIniData\" 16 117",
    "CGF \"Helmshroud.SendIniData\" 17 106", "CGF \"Helmshroud.SendIniData\" 18 0",
};

const std::string kCreatedOne =
    "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.";
const std::string kRepairedDebugMode = "Install_Helmshroud :: Warning: key 'bDebugMode' in "
                                       "Helmshroud.ini wasn't existing. Created it.";
const std::string kCalled = "Install_Helmshroud :: Info: Called SendIniData.";
const std::string kAborting =
    "Install_Helmshroud :: Error: Helmshroud.ini couldn't be created. Aborting.";
const std::string kNotMade = "Install_Helmshroud :: Error: couldn't make Helmshroud.ini: its "
                             "defaults go first into Helmshroud.ini.helmshroud-new beside it, ";
constexpr char kTemporary[] = "Data\\KORV\\Plugins\\Helmshroud.ini.helmshroud-new";
const std::string kSkipped = "Install_Helmshroud :: Error: couldn't tell whether Helmshroud.ini "
                             "exists. Skipped this run to keep the file as it is.";

// Fails the settings file's attribute query with "access denied", as a file the process may not
// look at would; every other query goes to Wine.
// With g_answeredQueries set, that many queries of it are answered first.
void* g_originalAttributes = nullptr;
int g_answeredQueries = 0;

BOOL WINAPI DeniedForSettingsFile(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
    std::size_t length = std::wcslen(path);
    constexpr wchar_t kName[] = L"Helmshroud.ini";
    constexpr std::size_t kNameLength = sizeof kName / sizeof kName[0] - 1;
    if (length >= kNameLength && std::wcscmp(path + length - kNameLength, kName) == 0 &&
        g_answeredQueries-- <= 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return reinterpret_cast<decltype(&GetFileAttributesExW)>(g_originalAttributes)(path, level,
                                                                                   data);
}

} // namespace

TEST_CASE("a fresh game folder gets the eighteen defaults and sends them in send-number order") {
    GameFolder game;

    RoutineRun run = RunRoutine();

    CHECK(ReadFileBytes(game / kIni) == kDefaultSettingsFile);
    CHECK(run.commands == DefaultCommands());
    CHECK(run.lines == std::vector<std::string>{kCreatedOne, kCalled});
}

TEST_CASE("every key is sent under its own number and a missing bDebugMode is repaired as 0") {
    GameFolder game;
    WriteFileBytes(game / kIni, kSeventeenKeys);

    RoutineRun run = RunRoutine();

    CHECK(run.commands == kSeventeenKeysSent);
    CHECK(run.lines == std::vector<std::string>{kRepairedDebugMode, kCalled});
    CHECK(ReadFileBytes(game / kIni) == std::string(kSeventeenKeys) + "bDebugMode=0\r\n");
}

TEST_CASE("a bDebugMode with nothing after the equals sign is rewritten as 0 and sent as 0") {
    GameFolder game;
    WriteFileBytes(game / kIni, std::string(kSeventeenKeys) + "bDebugMode=\r\n");

    RoutineRun run = RunRoutine();

    CHECK(run.commands == kSeventeenKeysSent);
    CHECK(run.lines == std::vector<std::string>{kRepairedDebugMode, kCalled});
    CHECK(ReadFileBytes(game / kIni) == std::string(kSeventeenKeys) + "bDebugMode=0\r\n");
}

TEST_CASE("a file holding only the section header sends seventeen empty values and bDebugMode 0") {
    GameFolder game;
    WriteFileBytes(game / kIni, "[Settings]\r\n");

    RoutineRun run = RunRoutine();

    REQUIRE(run.commands.size() == 18);
    for (int n = 1; n <= 17; ++n) {
        CAPTURE(n);
        // The command ends with the blank after the number.
        CHECK(run.commands[static_cast<std::size_t>(n - 1)] ==
              "CGF \"Helmshroud.SendIniData\" " + std::to_string(n) + " ");
    }
    CHECK(run.commands[17] == "CGF \"Helmshroud.SendIniData\" 18 0");
    CHECK(run.lines == std::vector<std::string>{kRepairedDebugMode,
                                                "Install_Helmshroud :: Warning: all 17 keys in "
                                                "Helmshroud.ini other than bDebugMode are missing "
                                                "or empty and were sent empty.",
                                                kCalled});
    CHECK(ReadFileBytes(game / kIni) == "[Settings]\r\nbDebugMode=0\r\n");
}

TEST_CASE("values are sent exactly as the profile functions return them") {
    // The profile reader drops blanks around a value and one pair of enclosing quotes; everything
    // else arrives unchanged, numbers or not.
    GameFolder game;
    const std::string file = "[Settings]\r\n"
                             "iInSafeTemperature=1\r\n"
                             "iIsWeaponDrawn=2\r\n"
                             "iInHazardousEnvironment=say \"hi\" there\r\n"
                             "iInIsCombat=yes\r\n"
                             "iAreHostilesNearby=\"quoted\"\r\n"
                             "iOnExtremePlanet=  a b  c  \r\n"
                             "iIsInZeroGravity='single'\r\n"
                             "iIsInExtremelyHighGravity=\"half\r\n"
                             "iIsInHabitableSettlement=-7\r\n"
                             "bDebugMode=1\r\n";
    WriteFileBytes(game / kIni, file);

    RoutineRun run = RunRoutine();

    REQUIRE(run.commands.size() == 18);
    CHECK(run.commands[0] == "CGF \"Helmshroud.SendIniData\" 1 1");
    CHECK(run.commands[1] == "CGF \"Helmshroud.SendIniData\" 2 ");
    CHECK(run.commands[5] == "CGF \"Helmshroud.SendIniData\" 6 2");
    CHECK(run.commands[6] == "CGF \"Helmshroud.SendIniData\" 7 say \"hi\" there");
    CHECK(run.commands[8] == "CGF \"Helmshroud.SendIniData\" 9 yes");
    CHECK(run.commands[9] == "CGF \"Helmshroud.SendIniData\" 10 quoted");
    CHECK(run.commands[10] == "CGF \"Helmshroud.SendIniData\" 11 a b  c");
    CHECK(run.commands[13] == "CGF \"Helmshroud.SendIniData\" 14 single");
    CHECK(run.commands[14] == "CGF \"Helmshroud.SendIniData\" 15 \"half");
    CHECK(run.commands[16] == "CGF \"Helmshroud.SendIniData\" 17 -7");
    CHECK(run.commands[17] == "CGF \"Helmshroud.SendIniData\" 18 1");
    // Sent as read, and each value that is no whole number named in a warning.
    const std::string holds = "Install_Helmshroud :: Warning: key ";
    const std::string sentAsWritten =
        ", not a whole number; it was sent as written, and the game script decides what it means.";
    CHECK(
        run.lines ==
        std::vector<std::string>{
            "Install_Helmshroud :: Warning: 8 keys in Helmshroud.ini are missing or empty and "
            "were sent empty: iInSealedInterior, iIsOnPlayerHomeSpaceship, iInSealedSpaceship, "
            "iIsCurrentAtmosphereBreatheable, iIsInExtremePlanetTemperature, "
            "iIsCurrentWeatherIsHazardous, iIsCurrentWeatherIsPotentiallyHazardous, "
            "iIsTakingEnvironmentalDamage.",
            holds + "'iInHazardousEnvironment' in Helmshroud.ini holds 'say \"hi\" there'" +
                sentAsWritten,
            holds + "'iInIsCombat' in Helmshroud.ini holds 'yes'" + sentAsWritten,
            holds + "'iAreHostilesNearby' in Helmshroud.ini holds 'quoted'" + sentAsWritten,
            holds + "'iOnExtremePlanet' in Helmshroud.ini holds 'a b  c'" + sentAsWritten,
            holds + "'iIsInZeroGravity' in Helmshroud.ini holds 'single'" + sentAsWritten,
            holds + "'iIsInExtremelyHighGravity' in Helmshroud.ini holds '\"half'" + sentAsWritten,
            kCalled});
    CHECK(ReadFileBytes(game / kIni) == file);
}

TEST_CASE("without a Data KORV Plugins folder the routine says so, reports the file missing and "
          "sends nothing") {
    TempFolder game;
    WorkingDirectory cwd(game.Path());

    RoutineRun run = RunRoutine();

    CHECK(run.commands.empty());
    CHECK(run.lines ==
          std::vector<std::string>{
              kNotMade + "which can't be made: the folder Data\\KORV\\Plugins is missing; "
                         "reinstall the plugin.",
              kAborting});
    CHECK(EntriesBelow(game.Path()).empty());
}

TEST_CASE("a settings file whose state can't be told is skipped and keeps its bytes") {
    GameFolder game;
    const std::string file = "[Settings]\r\niIsWeaponDrawn=2\r\n";
    WriteFileBytes(game / kIni, file);

    ImportDouble attributes("KERNEL32.dll", "GetFileAttributesExW",
                            reinterpret_cast<void*>(&DeniedForSettingsFile));
    REQUIRE(attributes.Installed());
    g_originalAttributes = attributes.Original();

    RoutineRun run = RunRoutine();

    CHECK(run.commands.empty());
    CHECK(run.lines == std::vector<std::string>{"IniExists :: Error: exists failed for "
                                                ".\\Data\\KORV\\Plugins\\Helmshroud.ini "
                                                "(Windows error 5).",
                                                kSkipped});
    CHECK(ReadFileBytes(game / kIni) == file);
}

TEST_CASE("a settings file just created whose state then can't be told is kept and nothing sent") {
    GameFolder game;
    ImportDouble attributes("KERNEL32.dll", "GetFileAttributesExW",
                            reinterpret_cast<void*>(&DeniedForSettingsFile));
    REQUIRE(attributes.Installed());
    g_originalAttributes = attributes.Original();
    g_answeredQueries = 1; // the one that finds no file

    RoutineRun run = RunRoutine();

    CHECK(run.commands.empty());
    CHECK(run.lines == std::vector<std::string>{kCreatedOne,
                                                "IniExists :: Error: exists failed for "
                                                ".\\Data\\KORV\\Plugins\\Helmshroud.ini "
                                                "(Windows error 5).",
                                                kSkipped});
    CHECK(ReadFileBytes(game / kIni) == kDefaultSettingsFile);
}

TEST_CASE("a plugin folder caught in a symbolic link loop is reported and the run skipped") {
    // Data\KORV\Plugins links to itself (made by the build): the relative path of the settings
    // file cannot be resolved, which Wine reports as error 1921.
    WorkingDirectory cwd(LOOPED_GAME_FOLDER);

    RoutineRun run = RunRoutine();

    CHECK(run.commands.empty());
    CHECK(run.lines == std::vector<std::string>{"IniExists :: Error: exists failed for "
                                                ".\\Data\\KORV\\Plugins\\Helmshroud.ini "
                                                "(Windows error 1921).",
                                                kSkipped});
}

TEST_CASE("two overlapping runs from two threads give two complete runs never interleaved") {
    GameFolder game;
    TakeConsoleCommands();
    StdoutCapture out;

    constexpr std::size_t kRounds = 3;
    for (std::size_t round = 0; round < kRounds; ++round) {
        std::atomic<int> ready{0};
        auto run = [&ready] {
            ready.fetch_add(1);
            while (ready.load() < 2) {
                std::this_thread::yield();
            }
            Install_Helmshroud();
        };
        std::thread first(run);
        std::thread second(run);
        first.join();
        second.join();
    }

    std::vector<std::string> lines = SplitLines(out.Finish(), "\n");
    std::vector<std::string> commands = TakeConsoleCommands();

    REQUIRE(commands.size() == 2 * kRounds * 18);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        CAPTURE(i);
        CHECK(commands[i] == DefaultCommands()[i % 18]);
    }
    // Only the first run found no file.
    std::vector<std::string> expected{kCreatedOne};
    expected.insert(expected.end(), 2 * kRounds, kCalled);
    CHECK(lines == expected);
}

TEST_CASE("a temporary file a killed run left beside the settings file is removed by the next run, "
          "and the defaults are written into a new one that takes the settings file's place only "
          "where no file appeared meanwhile") {
    GameFolder game;
    WriteFileBytes(game / kTemporary, "[Settings]\r\niInSafeTemperature=7\r\n");
    CHECK(RunRoutine().lines == std::vector<std::string>{kCreatedOne, kCalled});
    CHECK(ReadFileBytes(game / kIni) == kDefaultSettingsFile);
    CHECK_FALSE(FileExists(game / kTemporary));

    WriteFileBytes(game / kTemporary, "[Settings]\r\niInSafe");
    CHECK(RunRoutine().commands.size() == 18);
    CHECK_FALSE(FileExists(game / kTemporary));
    CHECK(ReadFileBytes(game / kIni) == kDefaultSettingsFile);

    WriteFileBytes(game / kTemporary, "[Settings]\r\nbDebugMode=0\r\n");
    CHECK(settings::PlaceTemporary(game / kIni).failure == settings::RewriteFailure::Replace);
    CHECK(ReadFileBytes(game / kIni) == kDefaultSettingsFile);
    CHECK_FALSE(FileExists(game / kTemporary));
}

TEST_CASE("a folder or a read-only file named like the temporary file is not the plugin's: it "
          "stays, and the run names it as what keeps the settings file from being made") {
    GameFolder game;
    MakeFolders(game / kTemporary + "\\");
    RoutineRun run = RunRoutine();
    CHECK(run.commands.empty());
    CHECK(run.lines ==
          std::vector<std::string>{
              kNotMade + "which can't be made: a folder of that name stands there; remove it.",
              kAborting});
    CHECK(RemoveDirectoryA((game / kTemporary).c_str()));

    WriteFileBytes(game / kTemporary, "a player's own");
    REQUIRE(SetFileAttributesA((game / kTemporary).c_str(), FILE_ATTRIBUTE_READONLY));
    run = RunRoutine();
    CHECK(run.lines == std::vector<std::string>{kNotMade + "which can't be made: a file of that "
                                                           "name stands there that the plugin "
                                                           "did not make; remove or rename it.",
                                                kAborting});
    SetFileAttributesA((game / kTemporary).c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK(ReadFileBytes(game / kTemporary) == "a player's own");
    CHECK_FALSE(FileExists(game / kIni));
}
