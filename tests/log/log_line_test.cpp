// The log's line writer: every line to the log file and mirrored on standard output, whole and
// ended by one newline, from any thread; and the line that reports a failed check.
#include "korv_common/Log.h"
#include "tests/log/log_folders.h"
#include "tests/support/documents_folder.h"
#include "tests/support/files.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

#include <cstdio>
#include <thread>

using namespace testing;

TEST_CASE("every line ends with exactly one newline in the log file and on standard output, and "
          "a line the print refuses is an empty one") {
    LogDocuments documents;

    StdoutCapture out;
    bool opened = OpenLog();
    LogLine("first");
    LogLine("second %d %s", 2, "with text");
    LogLine("%s", "");
    LogLine("%ls", L"\u263A"); // no character of the C locale: the print refuses it
    LogLine("last");
    FlushLog();
    std::string printed = out.Finish();

    CHECK(opened);
    // The log file is a text-mode stream: each "\n" reaches the disk as CRLF.
    CHECK(ReadFileBytes(documents.Log()) == "first\r\nsecond 2 with text\r\n\r\n\r\nlast\r\n");
    CHECK(printed == "first\nsecond 2 with text\n\n\nlast\n");
}

TEST_CASE("a line longer than the 8192-byte buffer is cut and still ends with one newline") {
    LogDocuments documents;
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
    CHECK(ReadFileBytes(documents.Log()) == fits + "\r\n" + cut + "\r\nafter\r\n");
    CHECK(printed == fits + "\n" + cut + "\nafter\n");
}

TEST_CASE("lines from eight threads never mix or tear") {
    LogDocuments documents;
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
    checkLines(SplitLines(ReadFileBytes(documents.Log()), "\r\n"));
    checkLines(SplitLines(printed, "\n"));
}

TEST_CASE("AssertionFailed prints a code with a zero upper half in 32 bits and others in 64") {
    StdoutCapture out;
    AssertionFailed("a.cpp", 7, "x", 5);
    AssertionFailed("a.cpp", 7, "x", 0);
    AssertionFailed("a.cpp", 7, "x", 0x80070005); // upper half zero: the low half read as signed
    AssertionFailed("korv_common/Log.cpp", 26, "SUCCEEDED(err)", -2147024891);
    AssertionFailed("a.cpp", 7, "x", -1);
    AssertionFailed("a.cpp", 7, "x", 0x123456789); // padded with blanks to 16 places
    FlushLog();
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
