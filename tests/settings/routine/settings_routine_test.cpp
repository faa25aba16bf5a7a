// The settings routine end to end: a temporary game folder as working directory, Wine's profile
// functions, and the console executor reached through this program's image (Quorvalen.exe).
#include "settings/file/settings_file.h"
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
#include <string_view>
#include <thread>

using namespace testing;

namespace {

constexpr char kIni[] = "Data\\KORV\\Plugins\\Helmshroud.ini";
constexpr char kTemporary[] = "Data\\KORV\\Plugins\\Helmshroud.ini.helmshroud-new";
const std::string kCreatedOne =
    "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.";
const std::string kCalled = "Install_Helmshroud :: Info: Called SendIniData.";
const std::string kExistsFailed = "IniExists :: Error: exists failed for "
                                  ".\\Data\\KORV\\Plugins\\Helmshroud.ini (Windows error ";
const std::string kSkipped = "Install_Helmshroud :: Error: couldn't tell whether Helmshroud.ini "
                             "exists. Skipped this run to keep the file as it is.";

// A game folder holding Data\KORV\Plugins\, made the working directory.
struct GameFolder : TempFolder {
    GameFolder() { MakeFolders(*this / "Data\\KORV\\Plugins\\"); }
    WorkingDirectory cwd{Path()};
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

// Fails the settings file's attribute query with "access denied", as a file the process may not
// look at would, once g_answeredQueries of them went to Wine; every other query goes to Wine.
void* g_originalAttributes = nullptr;
int g_answeredQueries = 0;

BOOL WINAPI DeniedForSettingsFile(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
    if (std::wstring_view(path).ends_with(L"Helmshroud.ini") && g_answeredQueries-- <= 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return reinterpret_cast<decltype(&GetFileAttributesExW)>(g_originalAttributes)(path, level,
                                                                                   data);
}

} // namespace

TEST_CASE("a settings file whose state can't be told, through a symbolic link loop, before it was "
          "created or right after, is reported, kept as it is, and the run skipped") {
    {
        // Data\KORV\Plugins links to itself (made by the build): the relative path of the
        // settings file cannot be resolved, which Wine reports as error 1921.
        WorkingDirectory cwd(LOOPED_GAME_FOLDER);
        RoutineRun run = RunRoutine();
        CHECK(run.commands.empty());
        CHECK(run.lines == std::vector<std::string>{kExistsFailed + "1921).", kSkipped});
    }
    GameFolder game;
    ImportDouble attributes("KERNEL32.dll", "GetFileAttributesExW",
                            reinterpret_cast<void*>(&DeniedForSettingsFile));
    REQUIRE(attributes.Installed());
    g_originalAttributes = attributes.Original();

    g_answeredQueries = 1; // the one that finds no file
    RoutineRun run = RunRoutine();
    CHECK(run.commands.empty());
    CHECK(run.lines == std::vector<std::string>{kCreatedOne, kExistsFailed + "5).", kSkipped});
    CHECK(ReadFileBytes(game / kIni) == kDefaultSettingsFile);

    const std::string file = "[Settings]\r\niIsWeaponDrawn=2\r\n";
    WriteFileBytes(game / kIni, file);
    g_answeredQueries = 0;
    run = RunRoutine();
    CHECK(run.commands.empty());
    CHECK(run.lines == std::vector<std::string>{kExistsFailed + "5).", kSkipped});
    CHECK(ReadFileBytes(game / kIni) == file);
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
    const std::vector<std::string> lines = SplitLines(out.Finish(), "\n");
    const std::vector<std::string> commands = TakeConsoleCommands();

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
    CHECK(settings::PlaceTemporary(game / kIni).failed == settings::FileStatus::Step::Place);
    CHECK(ReadFileBytes(game / kIni) == kDefaultSettingsFile);
    CHECK_FALSE(FileExists(game / kTemporary));
}

TEST_CASE("a read-only file named like the temporary file is not the plugin's: it stays, and the "
          "run names it as what keeps the settings file from being made and sends nothing") {
    // A folder of that name: tests/bad_inputs/cases/file_system/; no plugin folder at all:
    // tests/faults/settings_folder_faults_test.cpp.
    GameFolder game;
    WriteFileBytes(game / kTemporary, "a player's own");
    REQUIRE(SetFileAttributesA((game / kTemporary).c_str(), FILE_ATTRIBUTE_READONLY));
    RoutineRun run = RunRoutine();
    SetFileAttributesA((game / kTemporary).c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK(run.commands.empty());
    CHECK(run.lines ==
          std::vector<std::string>{
              "Install_Helmshroud :: Error: couldn't make Helmshroud.ini: its defaults go first "
              "into Helmshroud.ini.helmshroud-new beside it, which can't be made: a file of that "
              "name stands there that the plugin did not make; remove or rename it.",
              "Install_Helmshroud :: Error: Helmshroud.ini couldn't be created. Aborting."});
    CHECK(ReadFileBytes(game / kTemporary) == "a player's own");
    CHECK_FALSE(FileExists(game / kIni));
}
