// Writes of the log file the system refuses, one after another and as the process ends, and a
// write the writer was ended in.
#include "korv_common/Log.h"
#include "korv_common/log_system.h"
#include "tests/log/log_folders.h"
#include "tests/support/documents_folder.h"
#include "tests/support/files.h"
#include "tests/support/import_double.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

#include <atomic>
#include <thread>

using namespace testing;

namespace {

const std::string kLine(1000, 'x'); // 65 of them, "\n" included, fill a queue of 64 KiB

std::string LeftOutOfFile(int lines) {
    return "LogLine :: Warning: the log file's queue had no room for " + std::to_string(lines) +
           " line(s); they are missing here (standard output has them).";
}

// What standard output is told when the file's writes start failing with a write that took
// nothing and gave no error.
const std::string kWritesFail =
    "LogLine :: Error: the log file can't be written (Windows error 29). Its lines wait until it "
    "can; any it has no room for meanwhile are counted, and the file says how many.";

void* g_writeFile = nullptr;
std::atomic<bool> g_takesNothing{false};
std::atomic<bool> g_endedBeforeWrite{false};
std::atomic<bool> g_endedAfterWrite{false};
std::atomic<bool> g_endedPartway{false};
HANDLE g_written = nullptr;

BOOL WINAPI Write(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlap) {
    if (g_takesNothing.load()) {
        *written = 0;
        return TRUE;
    }
    if (g_endedPartway.exchange(false)) {
        // The system takes half of the write, and the writer is ended in the write of the rest.
        g_endedBeforeWrite = true;
        return reinterpret_cast<decltype(&WriteFile)>(g_writeFile)(file, bytes, size / 2, written,
                                                                   overlap);
    }
    if (g_endedBeforeWrite.load()) {
        // The writer is ended here, before the system took its write.
        SetEvent(g_written);
        Sleep(INFINITE);
    }
    BOOL done =
        reinterpret_cast<decltype(&WriteFile)>(g_writeFile)(file, bytes, size, written, overlap);
    if (g_endedAfterWrite.load()) {
        // The writer is ended here, its write done but not yet counted.
        SetEvent(g_written);
        Sleep(INFINITE);
    }
    return done;
}

HANDLE WINAPI NoThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD,
                       LPDWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// The log's writes go through Write for the life of the object.
struct WritesThroughDouble {
    WritesThroughDouble() {
        REQUIRE(writes.Installed());
        g_writeFile = writes.Original();
    }
    ImportDouble writes{"KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(&Write)};
};

// Creates the file at path and makes it the log's file, with no writer thread. Its handle.
HANDLE UsedWithoutWriter(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    ImportDouble threads("KERNEL32.dll", "CreateThread", reinterpret_cast<void*>(&NoThread));
    REQUIRE(threads.Installed());
    korv::log::UseLogFile(file);
    return file;
}

} // namespace

TEST_CASE("while the file takes nothing its lines wait, standard output is told once, lines with "
          "no room are counted, and at exit the file gets them all and the count once it takes "
          "them") {
    LogDocuments documents;
    WritesThroughDouble writes;
    StdoutCapture out;
    REQUIRE(OpenLog());
    Sleep(200); // the writers have looked at their queues and found nothing

    g_takesNothing = true;
    LogLine("first");
    FlushLog(); // refused, tried again after a pause, and said
    LogLine("second");
    FlushLog(); // refused again: neither tried again at once nor said again
    for (int i = 0; i < 66; ++i) {
        LogLine("%s", kLine.c_str()); // 65 fit behind "second"; the last is counted
    }
    Sleep(200);       // the file's writer, woken by the filling queue, has given up too
    WriteLogAtExit(); // still refused: everything stays
    g_takesNothing = false;
    WriteLogAtExit();
    FlushLog(); // standard output's writer may not have been woken for the last lines
    std::string printed = out.Finish();

    std::vector<std::string> shown{"first", kWritesFail, "second"};
    shown.insert(shown.end(), 66, kLine);
    CHECK(SplitLines(printed, "\n") == shown);
    std::vector<std::string> logged{"first", "second"};
    logged.insert(logged.end(), 65, kLine);
    logged.push_back(LeftOutOfFile(1));
    CHECK(SplitLines(ReadFileBytes(documents.Log()), "\r\n") == logged);
}

TEST_CASE("lines standard output had no room for are counted in the file once it is open, as "
          "lines the file has, and not before, nor the line saying the file's writes fail") {
    TempFolder root;
    std::string path = root / "log.txt";
    WritesThroughDouble writes;
    ImportDouble threads("KERNEL32.dll", "CreateThread", reinterpret_cast<void*>(&NoThread));
    REQUIRE(threads.Installed()); // no writer runs: standard output's queue stays full
    StdoutCapture out;
    for (int i = 0; i < 65; ++i) {
        LogLineNoWait("%s", kLine.c_str());
    }
    LogLineNoWait("%s", std::string(470, 'y').c_str()); // standard output's queue is full
    LogLineNoWait("no room, and no file to count it");
    HANDLE file = UsedWithoutWriter(path);
    LogLineNoWait("first in the file");
    g_takesNothing = true;
    FlushLog(); // the line saying the file's writes fail finds standard output's queue full
    g_takesNothing = false;
    LogLineNoWait("second in the file");
    FlushLog();
    WriteLogAtExit();
    out.Finish();
    CloseHandle(file);

    CHECK(SplitLines(ReadFileBytes(path), "\r\n") ==
          std::vector<std::string>{"first in the file", "second in the file",
                                   "LogLine :: Warning: standard output took no lines for a while; "
                                   "2 line(s) had no room in its queue and are missing there (this "
                                   "file has them)."});
}

TEST_CASE("at exit, a line neither output had room for is counted in the file as missing from "
          "both") {
    TempFolder root;
    std::string path = root / "log.txt";
    HANDLE file = UsedWithoutWriter(path);
    StdoutCapture out;
    for (int i = 0; i < 65; ++i) {
        LogLineNoWait("%s", kLine.c_str());
    }
    const std::string filler(400, 'y'); // leaves both queues room for no note
    LogLineNoWait("%s", filler.c_str());
    LogLineNoWait("%s", std::string(100, 'z').c_str()); // in neither
    WriteLogAtExit();
    out.Finish();
    CloseHandle(file);

    std::vector<std::string> logged(65, kLine);
    logged.push_back(filler);
    logged.push_back("LogLine :: Warning: 1 line(s) had no room in the queues of this file and of "
                     "standard output, and are missing from both.");
    CHECK(SplitLines(ReadFileBytes(path), "\r\n") == logged);
}

namespace {

// Logs a line, then ends the thread that writes it in its write, before the system took it, after,
// or after it took part of it, and runs what runs as the process ends. The log file's lines.
std::vector<std::string> LinesAfterEndedWrite(std::atomic<bool>& ended) {
    LogDocuments documents;
    WritesThroughDouble writes;
    g_written = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    StdoutCapture out;
    REQUIRE(OpenLog());
    LogLine("before");
    FlushLog();

    ended = true;
    std::thread([] {
        LogLine("in the ended write");
        FlushLog();
    }).detach(); // never returns: the process ends it
    REQUIRE(WaitForSingleObject(g_written, 10000) == WAIT_OBJECT_0);
    g_endedAfterWrite = false;
    g_endedBeforeWrite = false;
    WriteLogAtExit();
    out.Finish();
    return SplitLines(ReadFileBytes(documents.Log()), "\r\n");
}

BOOL WINAPI NoSize(HANDLE, PLARGE_INTEGER) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

const std::vector<std::string> kBeforeAndEnded{"before", "in the ended write"};

} // namespace

TEST_CASE("at exit, the write a writer was ended in is not written again when the file has it") {
    CHECK(LinesAfterEndedWrite(g_endedAfterWrite) == kBeforeAndEnded);
}

TEST_CASE("at exit, the write a writer was ended in is written when the file has not got it") {
    CHECK(LinesAfterEndedWrite(g_endedBeforeWrite) == kBeforeAndEnded);
}

TEST_CASE("at exit, the write a writer was ended in is written when the file's size can't be had") {
    ImportDouble sizes("KERNEL32.dll", "GetFileSizeEx", reinterpret_cast<void*>(&NoSize));
    REQUIRE(sizes.Installed());
    CHECK(LinesAfterEndedWrite(g_endedBeforeWrite) == kBeforeAndEnded);
}

TEST_CASE("at exit, the write a writer was ended in after the system took part of it gets the rest "
          "written, once") {
    CHECK(LinesAfterEndedWrite(g_endedPartway) == kBeforeAndEnded);
}
