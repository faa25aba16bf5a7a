// An output's queue: bytes out in the order they went in, across the ring's end, each write ending
// at a line's end, CR LF line ends where asked, a line that does not fit taking nothing, and room
// freed only by what a write took.
#include "korv_common/log_output.h"

#include <doctest.h>

#include <string>

namespace {

std::string g_written;
std::size_t g_takes = 0; // bytes the next write takes at most

std::size_t TakeSome(void* /*handle*/, const char* bytes, std::size_t size, std::uint32_t& error) {
    std::size_t took = size < g_takes ? size : g_takes;
    g_written.append(bytes, took);
    error = took < size ? 5 : 0;
    return took;
}

// Writes once and commits what was taken; the bytes asked for.
std::size_t WriteOnce(korv::log::Output& output, std::size_t takes) {
    g_takes = takes;
    std::size_t asked = 0;
    std::uint32_t error = 0;
    output.Commit(output.Write(asked, error));
    return asked;
}

} // namespace

TEST_CASE(
    "an output writes its lines in order across the ring's end, each write ending at a "
    "line's end, CR LF where asked, takes a line whole or not at all, and frees only the room "
    "a write took") {
    static char ring[korv::log::Output::kCapacity + korv::log::Output::kTail];
    static korv::log::Output output{&TakeSome, true, ring};
    const std::string line(1000, 'x');
    constexpr std::size_t kLineBytes = 1002; // with its CR LF
    g_written.clear();

    for (int i = 0; i < 65; ++i) {
        REQUIRE(output.Push((line + "\n").c_str(), line.size() + 1));
    }
    CHECK_FALSE(output.Push((line + "\n").c_str(), line.size() + 1)); // 406 bytes of room
    CHECK(output.Room() == korv::log::Output::kCapacity - 65 * kLineBytes);

    CHECK(WriteOnce(output, 1500) == 65 * kLineBytes); // refused after 1500 bytes
    CHECK(output.Committed() == 1500);
    CHECK(output.Push("a\nb\n", 4));
    CHECK(output.Push((line + "\n").c_str(), line.size() + 1)); // in the room taken, past the end
    // Up to the end of "b", the last line's end before the ring's end; then that line, whole.
    constexpr std::size_t kToLastEnd = 65 * kLineBytes + 6 - 1500;
    CHECK(WriteOnce(output, 0) == kToLastEnd);
    CHECK(output.Committed() == 1500); // nothing taken, nothing freed
    CHECK(WriteOnce(output, 1 << 20) == kToLastEnd);
    CHECK(WriteOnce(output, 1 << 20) == kLineBytes);
    CHECK(WriteOnce(output, 1 << 20) == 0);

    std::string expected;
    for (int i = 0; i < 65; ++i) {
        expected += line + "\r\n";
    }
    CHECK(g_written == expected + "a\r\nb\r\n" + line + "\r\n");
    CHECK(output.Pushed() == 66 * kLineBytes + 6);
    output.CommitUpTo(0); // never back, nor past what was queued
    CHECK(output.Committed() == output.Pushed());
}
