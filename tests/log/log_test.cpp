// The log: its file below the documents folder (which a test double chooses), its line writer and
// the mirror of every line on standard output. Each test case runs in a process of its own, so
// each starts with no log open.
#include "korv_common/Log.h"
#include "settings/Install.h"
#include "tests/support/documents_folder.h"
#include "tests/support/files.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace testing;

namespace {

constexpr char kLogBelowDocuments[] = "\\My Games\\Quorvalen\\KORV\\Logs\\Helmshroud.log";

// The log stays open until the process ends, and an open file cannot be deleted: a test that opens
// the log takes its temporary folder from here, and the folder is removed at exit, once the log
// stream has been closed (nothing logs any more by then).
const TempFolder& FolderRemovedAtExit() {
    static TempFolder* folder = nullptr;
    if (folder == nullptr) {
        folder = new TempFolder;
        std::atexit([] {
            if (std::FILE* log = LogFile()) {
                std::fclose(log);
            }
            delete folder;
        });
    }
    return *folder;
}

// root\Documents, made on disk.
std::string MadeDocuments(const TempFolder& root) {
    std::string folder = root / "Documents";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// A documents folder path of exactly `length` characters below root (no final backslash, as the
// lookup gives it), made on disk.
std::string DocumentsOfLength(const TempFolder& root, std::size_t length) {
    std::string folder = root / std::string(length - root.Path().size(), 'd');
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

} // namespace

TEST_CASE(
    "OpenLog asks for the documents folder and creates every missing folder down to the log") {
    const TempFolder& root = FolderRemovedAtExit();
    std::string documents = MadeDocuments(root);
    DocumentsFolderDouble lookup(documents);
    REQUIRE(lookup.Installed());
    REQUIRE(LogFile() == nullptr);

    CHECK(OpenLog());

    CHECK(LogFile() != nullptr);
    const DocumentsRequest& request = DocumentsFolderDouble::Request();
    CHECK(request.calls == 1);
    CHECK(request.ownerNull);
    CHECK(request.folderId == 0x8005); // personal documents, created when missing
    CHECK(request.tokenNull);
    CHECK(request.flags == 0); // the folder's current path
    CHECK(EntriesBelow(documents + "\\") ==
          std::vector<std::string>{"My Games\\", "My Games\\Quorvalen\\",
                                   "My Games\\Quorvalen\\KORV\\",
                                   "My Games\\Quorvalen\\KORV\\Logs\\",
                                   "My Games\\Quorvalen\\KORV\\Logs\\Helmshroud.log"});

    // Shared for reading, not for writing.
    std::string log = documents + kLogBelowDocuments;
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
    const TempFolder& root = FolderRemovedAtExit();
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
    CHECK(LogFile() == nullptr);
    CHECK(printed == "OpenLog :: Error: couldn't open " + log +
                         ". Logging to standard output only.\nstill printed\n");
    CHECK(ReadFileBytes(log) == "held by another program\r\n");
}

TEST_CASE("every line ends with exactly one newline in the log file and on standard output") {
    const TempFolder& root = FolderRemovedAtExit();
    std::string documents = MadeDocuments(root);
    DocumentsFolderDouble lookup(documents);

    StdoutCapture out;
    bool opened = OpenLog();
    LogLine("first");
    LogLine("second %d %s", 2, "with text");
    LogLine("%s", "");
    LogLine("last");
    FlushLog();
    std::string printed = out.Finish();

    CHECK(opened);
    // The log file is a text-mode stream: each "\n" reaches the disk as CRLF.
    CHECK(ReadFileBytes(documents + kLogBelowDocuments) ==
          "first\r\nsecond 2 with text\r\n\r\nlast\r\n");
    CHECK(printed == "first\nsecond 2 with text\n\nlast\n");
}

TEST_CASE("a line longer than the 8192-byte buffer is cut and still ends with one newline") {
    const TempFolder& root = FolderRemovedAtExit();
    std::string documents = MadeDocuments(root);
    DocumentsFolderDouble lookup(documents);
    // 8190 characters, "\n" and the terminating zero fill the buffer exactly.
    std::string fits(8190, 'a');
    std::string tooLong(10000, 'b');

    StdoutCapture out;
    bool opened = OpenLog();
    LogLine("%s", fits.c_str());
    LogLine("%s", tooLong.c_str());
    LogLine("after");
    FlushLog();
    std::string printed = out.Finish();

    CHECK(opened);
    std::string cut(8190, 'b');
    CHECK(ReadFileBytes(documents + kLogBelowDocuments) == fits + "\r\n" + cut + "\r\nafter\r\n");
    CHECK(printed == fits + "\n" + cut + "\nafter\n");
}

TEST_CASE("lines from eight threads never mix or tear") {
    const TempFolder& root = FolderRemovedAtExit();
    std::string documents = MadeDocuments(root);
    DocumentsFolderDouble lookup(documents);
    constexpr int kThreads = 8;
    constexpr int kLines = 500;
    // Long enough that a torn line could not pass for another.
    auto expectedLine = [](int thread, int line) {
        char text[128];
        std::snprintf(text, sizeof text, "thread %d line %03d %s", thread, line,
                      std::string(80, static_cast<char>('a' + thread)).c_str());
        return std::string(text);
    };

    StdoutCapture out;
    bool opened = OpenLog();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            std::string tail(80, static_cast<char>('a' + t));
            for (int line = 0; line < kLines; ++line) {
                LogLine("thread %d line %03d %s", t, line, tail.c_str());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    FlushLog();
    std::string printed = out.Finish();
    REQUIRE(opened);

    auto checkLines = [&](const std::vector<std::string>& lines) {
        REQUIRE(lines.size() == kThreads * kLines);
        int next[kThreads] = {};
        for (const std::string& line : lines) {
            int thread = -1;
            std::sscanf(line.c_str(), "thread %d", &thread);
            REQUIRE(thread >= 0);
            REQUIRE(thread < kThreads);
            // Each thread's lines arrive whole and in the order it wrote them.
            CHECK(line == expectedLine(thread, next[thread]));
            ++next[thread];
        }
    };
    checkLines(SplitLines(ReadFileBytes(documents + kLogBelowDocuments), "\r\n"));
    checkLines(SplitLines(printed, "\n"));
}

TEST_CASE("a documents folder that can't be had is reported with two exact lines and no log") {
    DocumentsFolderDouble lookup(static_cast<long>(0x80070005), 5);

    StdoutCapture out;
    bool opened = OpenLog();
    std::string printed = out.Finish();

    CHECK_FALSE(opened);
    CHECK(LogFile() == nullptr);
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
    std::string printed = out.Finish();

    CHECK_FALSE(opened);
    CHECK(LogFile() == nullptr);
    CHECK(printed == "Your virus scanner is blocking access to your My Documents folder. "
                     "SHGetFolderPath 00000005 failed (result = 80004005 lasterr = 000003F0)\n"
                     "Assertion failed in korv_common/Log.cpp (26): SUCCEEDED(err) (code = "
                     "FFFFFFFF80004005 (-2147467259))\n");
}

TEST_CASE("AssertionFailed prints a code with a zero upper half in 32 bits and others in 64") {
    StdoutCapture out;
    AssertionFailed("a.cpp", 7, "x", 5);
    AssertionFailed("a.cpp", 7, "x", 0);
    AssertionFailed("a.cpp", 7, "x", 0x80070005); // upper half zero: the low half read as signed
    AssertionFailed("korv_common/Log.cpp", 26, "SUCCEEDED(err)", -2147024891);
    AssertionFailed("a.cpp", 7, "x", -1);
    AssertionFailed("a.cpp", 7, "x", 0x123456789); // padded with blanks to 16 places
    std::string printed = out.Finish();

    CHECK(SplitLines(printed, "\n") ==
          std::vector<std::string>{
              "Assertion failed in a.cpp (7): x (code = 00000005 (5))",
              "Assertion failed in a.cpp (7): x (code = 00000000 (0))",
              "Assertion failed in a.cpp (7): x (code = 80070005 (-2147024891))",
              "Assertion failed in korv_common/Log.cpp (26): SUCCEEDED(err) (code = "
              "FFFFFFFF80070005 (-2147024891))",
              "Assertion failed in a.cpp (7): x (code = FFFFFFFFFFFFFFFF (-1))",
              "Assertion failed in a.cpp (7): x (code =        123456789 (4886718345))",
          });
}

TEST_CASE("a log path too long for 260 bytes is not opened under a cut name") {
    TempFolder root;
    // 216 characters + 44 of the log's own path + the terminating zero: one byte too many.
    std::string documents = DocumentsOfLength(root, 216);
    DocumentsFolderDouble lookup(documents);

    StdoutCapture out;
    bool opened = OpenLog();
    std::string printed = out.Finish();

    CHECK(opened); // the documents folder was had; lines go to standard output alone
    CHECK(LogFile() == nullptr);
    CHECK(EntriesBelow(documents + "\\").empty());
    CHECK(EntriesBelow(root.Path()) ==
          std::vector<std::string>{std::string(216 - root.Path().size(), 'd') + "\\"});
    CHECK(printed == "OpenLog :: Error: the log path below " + documents +
                         " is too long. Logging to standard output only.\n");
}

TEST_CASE("a log path of 259 characters is opened") {
    const TempFolder& root = FolderRemovedAtExit();
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
    CHECK(LogFile() != nullptr);
    CHECK(ReadFileBytes(log) == "fits\r\n");
}

TEST_CASE("CreatePath makes every folder along a path but not its last component") {
    TempFolder root;

    CreatePath((root / "a\\b/c\\d/file.log").c_str());
    CreatePath((root / "x/y/").c_str());
    CreatePath((root / "a\\b/c\\d/other.log").c_str()); // folders that exist already are fine

    CHECK(EntriesBelow(root.Path()) ==
          std::vector<std::string>{"a\\", "a\\b\\", "a\\b\\c\\", "a\\b\\c\\d\\", "x\\", "x\\y\\"});
}

TEST_CASE("the settings routine leaves its lines flushed in the log file") {
    // This program is not Quorvalen.exe: the routine finds no game console to send to.
    const TempFolder& root = FolderRemovedAtExit();
    std::string documents = MadeDocuments(root);
    DocumentsFolderDouble lookup(documents);
    TempFolder game;
    MakeFolders(game / "Data\\KORV\\Plugins\\");
    WorkingDirectory cwd(game.Path());

    StdoutCapture out;
    bool opened = OpenLog();
    Install_Helmshroud();
    std::string logged = ReadFileBytes(documents + kLogBelowDocuments);
    out.Finish();

    CHECK(opened);
    CHECK(logged ==
          "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.\r\n"
          "Install_Helmshroud :: Error: the game's console can't be reached. Nothing "
          "sent.\r\n");
}
