// Opening the log: its file below the documents folder (which a test double chooses), the folders
// made on the way, and what happens when the folder, the file or the path can't be had.
#include "korv_common/Log.h"
#include "settings/routine/Install.h"
#include "tests/log/log_folders.h"
#include "tests/support/documents_folder.h"
#include "tests/support/files.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

#include <cstdio>

using namespace testing;

TEST_CASE(
    "OpenLog asks for the documents folder and creates every missing folder down to the log") {
    LogDocuments documents;
    REQUIRE(documents.lookup.Installed());

    CHECK(OpenLog());

    const DocumentsRequest& request = DocumentsFolderDouble::Request();
    CHECK(request.calls == 1);
    CHECK(request.ownerNull);
    CHECK(request.folderId == 0x8005); // personal documents, created when missing
    CHECK(request.tokenNull);
    CHECK(request.flags == 0); // the folder's current path
    CHECK(EntriesBelow(documents.folder + "\\") ==
          std::vector<std::string>{"My Games\\", "My Games\\Quorvalen\\",
                                   "My Games\\Quorvalen\\KORV\\",
                                   "My Games\\Quorvalen\\KORV\\Logs\\",
                                   "My Games\\Quorvalen\\KORV\\Logs\\Helmshroud.log"});

    // Shared for reading, not for writing.
    std::string log = documents.Log();
    HANDLE reader = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    CHECK(reader != INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    HANDLE writer = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD writeError = GetLastError();
    CHECK(writer == INVALID_HANDLE_VALUE);
    CHECK(writeError == ERROR_SHARING_VIOLATION);
    if (writer != INVALID_HANDLE_VALUE) {
        CloseHandle(writer);
    }
}

TEST_CASE("opening the log truncates the previous run's lines") {
    const TempFolder& root = FolderKeptForTheLog();
    std::string documents = root / "Documents";
    std::string log = documents + kLogBelowDocuments;
    MakeFolders(documents + "\\My Games\\Quorvalen\\KORV\\Logs\\");
    WriteFileBytes(log, "a line of the previous game run\r\nand another\r\n");
    DocumentsFolderDouble lookup(documents);

    StdoutCapture out;
    bool opened = OpenLog();
    LogLine("new");
    FlushLog();
    out.Finish();

    CHECK(opened);
    CHECK(ReadFileBytes(log) == "new\r\n");
}

TEST_CASE("a log file that can't be opened leaves the lines to standard output alone") {
    TempFolder root;
    std::string documents = root / "Documents";
    std::string log = documents + kLogBelowDocuments;
    MakeFolders(documents + "\\My Games\\Quorvalen\\KORV\\Logs\\");
    WriteFileBytes(log, "held by another program\r\n");
    HANDLE holder = CreateFileA(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(holder != INVALID_HANDLE_VALUE);
    DocumentsFolderDouble lookup(documents);

    StdoutCapture out;
    bool opened = OpenLog();
    LogLine("still printed");
    FlushLog();
    std::string printed = out.Finish();
    CloseHandle(holder);

    CHECK(opened);
    CHECK(printed == "OpenLog :: Error: couldn't open " + log +
                         ". Logging to standard output only.\nstill printed\n");
    CHECK(ReadFileBytes(log) == "held by another program\r\n");
}

TEST_CASE("a documents folder that can't be had is reported with two exact lines and no log") {
    DocumentsFolderDouble lookup(static_cast<long>(0x80070005), 5);

    StdoutCapture out;
    bool opened = OpenLog();
    FlushLog();
    std::string printed = out.Finish();

    CHECK_FALSE(opened);
    CHECK(DocumentsFolderDouble::Request().calls == 1);
    CHECK(printed == "Your virus scanner is blocking access to your My Documents folder. "
                     "SHGetFolderPath 00000005 failed (result = 80070005 lasterr = 00000005)\n"
                     "Assertion failed in korv_common/Log.cpp (26): SUCCEEDED(err) (code = "
                     "FFFFFFFF80070005 (-2147024891))\n");
}

TEST_CASE("the documents folder failure lines carry the lookup's own result and last error") {
    DocumentsFolderDouble lookup(static_cast<long>(0x80004005), 0x3F0);

    StdoutCapture out;
    bool opened = OpenLog();
    FlushLog();
    std::string printed = out.Finish();

    CHECK_FALSE(opened);
    CHECK(printed == "Your virus scanner is blocking access to your My Documents folder. "
                     "SHGetFolderPath 00000005 failed (result = 80004005 lasterr = 000003F0)\n"
                     "Assertion failed in korv_common/Log.cpp (26): SUCCEEDED(err) (code = "
                     "FFFFFFFF80004005 (-2147467259))\n");
}

TEST_CASE("a log path too long for 260 bytes is not opened under a cut name") {
    TempFolder root;
    // 216 characters + 44 of the log's own path + the terminating zero: one byte too many.
    std::string documents = DocumentsOfLength(root, 216);
    DocumentsFolderDouble lookup(documents);

    StdoutCapture out;
    bool opened = OpenLog();
    FlushLog();
    std::string printed = out.Finish();

    CHECK(opened); // the documents folder was had; lines go to standard output alone
    CHECK(EntriesBelow(documents + "\\").empty());
    CHECK(EntriesBelow(root.Path()) ==
          std::vector<std::string>{std::string(216 - root.Path().size(), 'd') + "\\"});
    CHECK(printed == "OpenLog :: Error: the log path below " + documents +
                         " is too long. Logging to standard output only.\n");
}

TEST_CASE("a log path of 259 characters is opened") {
    const TempFolder& root = FolderKeptForTheLog();
    std::string documents = DocumentsOfLength(root, 215);
    DocumentsFolderDouble lookup(documents);
    std::string log = documents + kLogBelowDocuments;
    REQUIRE(log.size() == 259);

    StdoutCapture out;
    bool opened = OpenLog();
    LogLine("fits");
    FlushLog();
    out.Finish();

    CHECK(opened);
    CHECK(ReadFileBytes(log) == "fits\r\n");
}

TEST_CASE("CreatePath makes every folder along a path but not its last component") {
    TempFolder root;

    auto create = [&](const std::string& below) {
        std::string path = root / below;
        CreatePath(std::wstring(path.begin(), path.end()).c_str()); // the test's paths are ASCII
    };
    create("a\\b/c\\d/file.log");
    create("x/y/");
    create("a\\b/c\\d/other.log");                // folders that exist already are fine
    create(std::string(300, 'n') + "\\file.log"); // longer than any path: not tried

    CHECK(EntriesBelow(root.Path()) ==
          std::vector<std::string>{"a\\", "a\\b\\", "a\\b\\c\\", "a\\b\\c\\d\\", "x\\", "x\\y\\"});
}

TEST_CASE("the settings routine leaves its lines flushed in the log file") {
    // This program is not Quorvalen.exe: the routine finds no game console to send to.
    LogDocuments documents;
    TempFolder game;
    MakeFolders(game / "Data\\KORV\\Plugins\\");
    WorkingDirectory cwd(game.Path());

    StdoutCapture out;
    bool opened = OpenLog();
    Install_Helmshroud();
    std::string logged = ReadFileBytes(documents.Log());
    out.Finish();

    CHECK(opened);
    CHECK(logged ==
          "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.\r\n"
          "Install_Helmshroud :: Error: the game's console can't be reached. Nothing "
          "sent.\r\n");
}
