// Settings files as other editors save them: byte-order marks, every kind of line end, no final
// newline, letters outside ASCII.
#include "tests/bad_inputs/bad_input_check.h"

#include <doctest.h>

using namespace testing;

namespace {

const std::string kUtf8Mark = "\xEF\xBB\xBF";

// The lines of text (ended by "\n") ended in turn by CR LF, LF and CR.
std::string MixedLineEnds(const std::string& text) {
    const char* const ends[] = {"\r\n", "\n", "\r"};
    std::string mixed;
    std::size_t line = 0;
    for (char c : text) {
        if (c == '\n') {
            mixed += ends[line++ % 3];
        } else {
            mixed += c;
        }
    }
    return mixed;
}

std::string WithoutFinalNewline(std::string text) {
    text.resize(text.size() - 2); // the final "\r\n"
    return text;
}

} // namespace

TEST_CASE(
    "files with a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark are read through the mark, and the "
    "bDebugMode repair keeps the file's encoding") {
    RunAndCheck({
        Kept("UTF-8 byte-order mark", kUtf8Mark + FullText(), FullValues()),
        Repaired("UTF-8 byte-order mark, no bDebugMode", kUtf8Mark + FullTextWithoutDebugMode(),
                 FullValues(), kUtf8Mark + FullTextWithoutDebugMode() + "bDebugMode=0\r\n"),
        Kept("UTF-16 LE byte-order mark", Utf16(FullText()), FullValues()),
        Repaired("UTF-16 LE byte-order mark, no bDebugMode", Utf16(FullTextWithoutDebugMode()),
                 FullValues(), Utf16(FullTextWithoutDebugMode() + "bDebugMode=0\r\n")),
        Kept("UTF-16 BE byte-order mark", Utf16Be(FullText()), FullValues()),
        Repaired("UTF-16 BE byte-order mark, no bDebugMode", Utf16Be(FullTextWithoutDebugMode()),
                 FullValues(), Utf16Be(FullTextWithoutDebugMode() + "bDebugMode=0\r\n")),
        // Behind a mark the profile functions hand an "A" caller the value in the ANSI code page
        // (1252 here); without one they hand over the bytes as they are.
        Warned(Kept("UTF-8 letter in a value, with the mark",
                    kUtf8Mark + "[Settings]\r\niIsWeaponDrawn=\xC3\xA9\r\nbDebugMode=1\r\n",
                    Values({{6, "\xE9"}, {18, "1"}})),
               {SentEmptyBut({"iIsWeaponDrawn"}), Unfit("iIsWeaponDrawn", "\xE9")}),
        Warned(Kept("UTF-8 letter in a value, without the mark",
                    "[Settings]\r\niIsWeaponDrawn=\xC3\xA9\r\nbDebugMode=1\r\n",
                    Values({{6, "\xC3\xA9"}, {18, "1"}})),
               {SentEmptyBut({"iIsWeaponDrawn"}), Unfit("iIsWeaponDrawn", "\xC3\xA9")}),
    });
}

TEST_CASE("CR-only, LF-only and mixed line ends and a missing final newline are read alike, and a "
          "bDebugMode repair ends every line in CR LF") {
    RunAndCheck({
        Kept("CR-only line ends", FullText("\r"), FullValues()),
        Kept("LF-only line ends", FullText("\n"), FullValues()),
        Kept("mixed line ends", MixedLineEnds(FullText("\n")), FullValues()),
        Kept("no final newline", WithoutFinalNewline(FullText()), FullValues()),
        Repaired("CR-only line ends, no bDebugMode", FullTextWithoutDebugMode("\r"), FullValues(),
                 FullTextWithoutDebugMode() + "bDebugMode=0\r\n"),
        Repaired("LF-only line ends, no bDebugMode", FullTextWithoutDebugMode("\n"), FullValues(),
                 FullTextWithoutDebugMode() + "bDebugMode=0\r\n"),
        Repaired("no final newline, no bDebugMode", WithoutFinalNewline(FullTextWithoutDebugMode()),
                 FullValues(), FullTextWithoutDebugMode() + "bDebugMode=0\r\n"),
    });
}
