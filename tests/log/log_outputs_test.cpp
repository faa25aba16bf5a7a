// The log's queues and their writers: lines that find a queue full, a standard output that takes
// nothing, and no writer threads at all.
#include "korv_common/Log.h"
#include "korv_common/log_system.h"
#include "tests/log/log_folders.h"
#include "tests/support/documents_folder.h"
#include "tests/support/files.h"
#include "tests/support/import_double.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <doctest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace testing;

namespace {

// Lines of 1001 bytes with their "\n": 65 fill a queue of 64 KiB.
const std::string kLine(1000, 'x');

std::string LeftOutOfStdout(int lines) {
    return "LogLine :: Warning: standard output took no lines for a while; " +
           std::to_string(lines) +
           " line(s) had no room in its queue and are missing there (this file has them).";
}

// Standard output as a pipe nobody reads until Drain(); Finish() puts it back and returns what
// was read.
class UnreadStdout {
  public:
    UnreadStdout() {
        std::fflush(stdout);
        _pipe(ends_, 4096, _O_BINARY);
        saved_ = _dup(1);
        _dup2(ends_[1], 1);
        _close(ends_[1]);
    }
    void Drain() {
        reader_ = std::thread([this] {
            char chunk[4096];
            for (int got = 0; (got = _read(ends_[0], chunk, sizeof chunk)) > 0;) {
                read_.append(chunk, static_cast<std::size_t>(got));
            }
        });
    }
    std::string Finish() {
        std::fflush(stdout);
        _dup2(saved_, 1); // the pipe's last writing end is closed: the reader sees its end
        _close(saved_);
        reader_.join();
        _close(ends_[0]);
        return read_;
    }

  private:
    int ends_[2] = {-1, -1};
    int saved_ = -1;
    std::thread reader_;
    std::string read_;
};

HANDLE WINAPI NoThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD,
                       LPDWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// The event asked for as the g_refusedEvent-th is refused, the others are made.
void* g_createEvent = nullptr;
int g_events = 0;
int g_refusedEvent = 2;
HANDLE WINAPI OneEventRefused(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL set, LPCSTR name) {
    if (++g_events == g_refusedEvent) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return reinterpret_cast<decltype(&CreateEventA)>(g_createEvent)(security, manual, set, name);
}

// The outputs' writes each take 300 ms, as on a slow disk and a slow console, for the life of the
// object.
void* g_writeFile = nullptr;
void* g_fwrite = nullptr;
BOOL WINAPI SlowWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                          LPOVERLAPPED overlapped) {
    Sleep(300);
    return reinterpret_cast<decltype(&WriteFile)>(g_writeFile)(file, bytes, size, written,
                                                               overlapped);
}
std::size_t SlowFwrite(const void* bytes, std::size_t size, std::size_t count, FILE* stream) {
    Sleep(300);
    return reinterpret_cast<decltype(&SlowFwrite)>(g_fwrite)(bytes, size, count, stream);
}
struct SlowWrites {
    SlowWrites() {
        REQUIRE(file.Installed());
        REQUIRE(console.Installed());
        g_writeFile = file.Original();
        g_fwrite = console.Original();
    }
    ImportDouble file{"KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(&SlowWriteFile)};
    ImportDouble console{"msvcrt.dll", "fwrite", reinterpret_cast<void*>(&SlowFwrite)};
};

} // namespace

TEST_CASE("lines that find both queues full, their writers held in a slow write, are left out of "
          "both and counted in the file as such, and a line that may wait is given the room") {
    LogDocuments documents;
    StdoutCapture out;
    REQUIRE(OpenLog());
    SlowWrites slow; // nothing a writer was given is freed before its write ends

    int printed = 0;
    for (int i = 0; i < 100; ++i) {
        printed += LogLineNoWait("%s", kLine.c_str()) == 0 ? 1 : 0;
    }
    int after = LogLine("after");
    FlushLog();
    std::vector<std::string> shown = SplitLines(out.Finish(), "\n");
    std::vector<std::string> logged = SplitLines(ReadFileBytes(documents.Log()), "\r\n");

    CHECK(printed == 65);
    CHECK(after == 0);
    std::vector<std::string> lines(65, kLine);
    lines.push_back("after");
    CHECK(shown == lines);
    lines.insert(lines.end() - 1, "LogLine :: Warning: 35 line(s) had no room in the queues of "
                                  "this file and of standard output, and are missing from both.");
    CHECK(logged == lines);
}

TEST_CASE("a line that finds standard output's queue full is queued once its writer makes room") {
    StdoutCapture out;
    REQUIRE(korv::log::StartStdoutWriter());
    for (int i = 0; i < 65; ++i) {
        LogLineNoWait("%s", kLine.c_str());
    }
    int waited = LogLine("%s", kLine.c_str());
    FlushLog();
    std::string printed = out.Finish();

    CHECK(waited == 0);
    CHECK(SplitLines(printed, "\n") == std::vector<std::string>(66, kLine));
}

TEST_CASE("a line that finds standard output's queue full while nobody reads it waits a second at "
          "most, and once it waited in vain lines are left out of standard output at once") {
    using Clock = std::chrono::steady_clock;
    LogDocuments documents;
    UnreadStdout out;
    REQUIRE(OpenLog());

    auto timed = [](int& result) {
        Clock::time_point start = Clock::now();
        result = LogLine("%s", kLine.c_str());
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    int lines = 0;
    int waitedResult = 0;
    double waited = 0;
    while (lines < 200 && waited < 900) {
        waited = timed(waitedResult);
        ++lines;
    }
    int stalledResult = 0;
    double stalled = timed(stalledResult);
    ++lines;
    // Once the pipe is read, standard output takes lines again.
    out.Drain();
    int drainedResult = EOF;
    for (int tries = 0; tries < 100 && drainedResult == EOF; ++tries) {
        Sleep(20);
        timed(drainedResult);
        ++lines;
    }
    FlushLog();
    std::string read = out.Finish();
    std::vector<std::string> logged = SplitLines(ReadFileBytes(documents.Log()), "\r\n");

    MESSAGE("waited " << waited << " ms, after " << lines << " lines; then " << stalled << " ms");
    CHECK(waited < 3000);
    CHECK(waitedResult == EOF);
    CHECK(stalled < 500);
    CHECK(stalledResult == EOF);
    CHECK(drainedResult == 0);
    // The file has every line, and says how many standard output is missing.
    const std::string note = "LogLine :: Warning: standard output took no lines for a while; ";
    int notes = 0;
    int missing = 0;
    for (const std::string& line : logged) {
        if (line.rfind(note, 0) == 0) {
            ++notes;
            missing += std::stoi(line.substr(note.size()));
        }
    }
    auto printed = static_cast<int>(std::count(read.begin(), read.end(), '\n'));
    CHECK(notes > 0);
    CHECK(logged.size() == static_cast<std::size_t>(lines + notes));
    CHECK(missing == lines - printed);
}

TEST_CASE("without its writer threads the log writes standard output's queue itself when it is "
          "full, and every line reaches both at a flush") {
    LogDocuments documents;
    StdoutCapture out;
    bool opened = false;
    {
        ImportDouble events("KERNEL32.dll", "CreateEventA",
                            reinterpret_cast<void*>(&OneEventRefused));
        ImportDouble threads("KERNEL32.dll", "CreateThread", reinterpret_cast<void*>(&NoThread));
        REQUIRE(events.Installed());
        REQUIRE(threads.Installed());
        g_createEvent = events.Original();
        opened = OpenLog(); // standard output's thread fails, then the file's event
    }
    for (int i = 0; i < 100; ++i) {
        LogLine("%s", kLine.c_str());
    }
    FlushLog();
    std::string printed = out.Finish();

    CHECK(opened);
    CHECK(g_events == 2);
    CHECK(SplitLines(printed, "\n") == std::vector<std::string>(100, kLine));
    CHECK(SplitLines(ReadFileBytes(documents.Log()), "\r\n") ==
          std::vector<std::string>(100, kLine));
}

TEST_CASE("a writer whose event is refused is not started, a later start starts it, and a writer "
          "that runs is not started again") {
    ImportDouble events("KERNEL32.dll", "CreateEventA", reinterpret_cast<void*>(&OneEventRefused));
    REQUIRE(events.Installed());
    g_createEvent = events.Original();
    g_refusedEvent = 1;

    CHECK_FALSE(korv::log::StartStdoutWriter());
    CHECK(korv::log::StartStdoutWriter());
    CHECK(korv::log::StartStdoutWriter()); // it runs: no event is asked for again
    CHECK(g_events == 2);                  // the refused one, and standard output's
}

TEST_CASE("a standard output nobody reads whose writer can't be started holds up no caller that "
          "may wait, and costs only its copy of the lines, which the file counts") {
    LogDocuments documents;
    UnreadStdout out;
    ImportDouble threads("KERNEL32.dll", "CreateThread", reinterpret_cast<void*>(&NoThread));
    REQUIRE(threads.Installed());
    REQUIRE(OpenLog()); // neither writer starts, nor does any later try

    // As the settings run does: lines past both queues' room, then a flush.
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([done] {
        for (int i = 0; i < 100; ++i) {
            LogLine("%s", kLine.c_str());
        }
        FlushLog();
        SetEvent(done);
    });
    bool returned = WaitForSingleObject(done, 10000) == WAIT_OBJECT_0;
    out.Drain(); // lets a worker that writes standard output itself go
    worker.join();
    WriteLogAtExit();
    std::string read = out.Finish();
    CloseHandle(done);

    CHECK(returned);
    CHECK(read.empty());
    std::vector<std::string> logged(100, kLine);
    logged.push_back(LeftOutOfStdout(35)); // the 65 that fit stay queued for it
    CHECK(SplitLines(ReadFileBytes(documents.Log()), "\r\n") == logged);
}
