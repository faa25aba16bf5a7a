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

const std::string kCreatedOne =
    "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.";
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
    CHECK(settings::PlaceTemporary(game / kIni).failed == settings::FileStatus::Step::Place);
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
