// The log's threads under the thread checker: loggers of both kinds at once while both writers
// run, standard output stalls and the file's writes are refused for a while. Natively only, on the
// stand-ins of native_outputs.h.
#include "korv_common/Log.h"
#include "korv_common/log_system.h"
#include "tests/native/native_outputs.h"

#include <doctest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kLoggers = 4; // the first half never wait, as the game's thread; the rest may
constexpr int kPhaseMs = 300;

std::string Tail(int thread, long line) {
    return std::string(static_cast<std::size_t>(line * 37 % 200), static_cast<char>('a' + thread));
}

// Lines logged: logs as thread `thread` until stop is set.
long Log(int thread, const std::atomic<bool>& stop) {
    long line = 0;
    for (; !stop.load(); ++line) {
        std::string tail = Tail(thread, line);
        if (thread < kLoggers / 2) {
            LogLineNoWait("thread %d line %ld %s", thread, line, tail.c_str());
        } else {
            LogLine("thread %d line %ld %s", thread, line, tail.c_str());
            if (line % 1000 == 0) {
                FlushLog();
            }
        }
    }
    return line;
}

const std::string kFileNote = "LogLine :: Warning: the log file's queue had no room for ";
const std::string kStdoutNote = "LogLine :: Warning: standard output took no lines for a while; ";
const std::string kBothNote = "LogLine :: Warning: ";
const std::string kBothNoteEnd = " had no room in the queues of this file and of standard output";
const std::string kWritesFail =
    "LogLine :: Error: the log file can't be written (Windows error 33)";

struct Tally {
    long lines = 0;         // the loggers'
    long fileMissing = 0;   // as the notes say: missing from the file, which standard output has
    long stdoutMissing = 0; // missing from standard output, which the file has
    long bothMissing = 0;   // missing from both
    std::vector<std::vector<bool>> has = std::vector<std::vector<bool>>(kLoggers);
    bool ok = true; // every line whole and known, each thread's in order
};

// Reads an output's text, of lines that end with `end`.
Tally Read(const std::string& text, const std::string& end) {
    Tally tally;
    long next[kLoggers] = {};
    std::size_t at = 0;
    for (std::size_t found; (found = text.find(end, at)) != std::string::npos;
         at = found + end.size()) {
        std::string line = text.substr(at, found - at);
        int thread = -1;
        long index = -1;
        if (line.rfind(kFileNote, 0) == 0) {
            tally.fileMissing += std::stol(line.substr(kFileNote.size()));
        } else if (line.rfind(kStdoutNote, 0) == 0) {
            tally.stdoutMissing += std::stol(line.substr(kStdoutNote.size()));
        } else if (line.rfind(kBothNote, 0) == 0 && line.find(kBothNoteEnd) != std::string::npos) {
            tally.bothMissing += std::stol(line.substr(kBothNote.size()));
        } else if (line.rfind(kWritesFail, 0) == 0) {
            continue; // said on standard output alone
        } else if (std::sscanf(line.c_str(), "thread %d line %ld", &thread, &index) == 2 &&
                   thread >= 0 && thread < kLoggers && index >= next[thread] &&
                   line == "thread " + std::to_string(thread) + " line " + std::to_string(index) +
                               " " + Tail(thread, index)) {
            next[thread] = index + 1;
            ++tally.lines;
            auto& has = tally.has[static_cast<std::size_t>(thread)];
            has.resize(std::max(has.size(), static_cast<std::size_t>(index + 1)));
            has[static_cast<std::size_t>(index)] = true;
        } else {
            tally.ok = false;
        }
    }
    tally.ok = tally.ok && at == text.size();
    return tally;
}

} // namespace

TEST_CASE("lines logged from several threads at once, while standard output stalls and the file's "
          "writes are refused for a while, reach the file whole and in order or counted there, "
          "and standard output as the file says") {
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    korv::log::UseLogFile(native::FileHandle());
    REQUIRE(korv::log::StartStdoutWriter());

    std::atomic<bool> stop{false};
    std::vector<long> logged(kLoggers);
    std::vector<std::thread> loggers;
    for (int t = 0; t < kLoggers; ++t) {
        loggers.emplace_back(
            [t, &stop, &logged] { logged[static_cast<std::size_t>(t)] = Log(t, stop); });
    }
    // Standard output stalled, then the file refusing, then both, then neither; three times.
    for (int phase = 0; phase < 12; ++phase) {
        native::g_stdoutStalled = phase % 4 == 0 || phase % 4 == 2;
        native::g_fileRefused = phase % 4 == 1 || phase % 4 == 2;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPhaseMs));
    }
    stop = true;
    for (std::thread& logger : loggers) {
        logger.join();
    }
    native::g_stdoutStalled = false;
    native::g_fileRefused = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // a stalled write ends
    FlushLog();
    FlushLog(); // what standard output's writer noted in the file meanwhile
    // Standard output's writer takes what is queued for it, which a wait that gave up did not see.
    for (std::string seen; seen != native::StdoutText();) {
        seen = native::StdoutText();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    long total = 0;
    for (long lines : logged) {
        total += lines;
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    MESSAGE(total << " lines from " << kLoggers << " threads in " << seconds << " s");

    Tally file = Read(native::FileText(), "\r\n");
    Tally out = Read(native::StdoutText(), "\n");
    CHECK(file.ok);
    CHECK(out.ok);
    // Which output has each line: the notes count only lines as they say.
    long onlyFile = 0;
    long onlyOut = 0;
    long neither = 0;
    for (int t = 0; t < kLoggers; ++t) {
        for (long i = 0; i < logged[static_cast<std::size_t>(t)]; ++i) {
            auto in = [&](const Tally& tally) {
                const auto& has = tally.has[static_cast<std::size_t>(t)];
                return static_cast<std::size_t>(i) < has.size() && has[static_cast<std::size_t>(i)];
            };
            onlyFile += in(file) && !in(out) ? 1 : 0;
            onlyOut += !in(file) && in(out) ? 1 : 0;
            neither += !in(file) && !in(out) ? 1 : 0;
        }
    }
    CHECK(file.stdoutMissing <= onlyFile);
    CHECK(file.fileMissing <= onlyOut);
    CHECK(file.bothMissing <= neither);
    // Each line is in the file or counted there (with the notes that had no room in its queue).
    CHECK(file.lines <= total);
    CHECK(file.lines + file.fileMissing + file.bothMissing >= total);
    CHECK(out.lines <= total);
    // Lines were left out, and the file says so. (What the log says of itself may be left out too,
    // under a flood: the line saying the file's writes fail, a note with no room in the file.)
    CHECK(file.fileMissing + file.stdoutMissing + file.bothMissing > 0);
}

TEST_CASE("a line of a thread that never waits reaches the file within the writer's look, nobody "
          "waking the writer and nothing else logged") {
    korv::log::UseLogFile(native::FileHandle());
    const std::string line = "the game's thread logs one line";
    LogLineNoWait("%s", line.c_str());
    for (int ms = 0; ms < 5000 && native::FileText().find(line) == std::string::npos; ++ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    CHECK(native::FileText() == line + "\r\n");
    CHECK(native::g_wakes == 0);
    // The writer never waited longer than the promise before it looked again.
    CHECK(native::g_longestWaitMs > 0);
    CHECK(native::g_longestWaitMs <= 50);
}
