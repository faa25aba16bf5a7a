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

const std::string kMarkRemoved =
    "Install_Helmshroud :: Warning: Helmshroud.ini begins with a UTF-8 byte-order mark, which "
    "hides its first section from Windows. Removed the mark; the rest of the file is as it was.";
const std::string kBigEndianRewritten =
    "Install_Helmshroud :: Warning: Helmshroud.ini is saved as UTF-16 big-endian, which Windows "
    "can't read. Rewrote it as UTF-16 LE with its byte-order mark; the text is as it was.";

// The input, rewritten into `after` before it is read, with the warning first in its log.
BadInput Rewritten(BadInput input, std::string after, const std::string& warning) {
    input.after = std::move(after);
    input.log.insert(input.log.begin(), warning);
    return input;
}

// The input, whose rewrite fails: the error line alone, nothing sent, the file as it was.
// The values go out as the platform reads the file as it stands, and nothing is written into it.
BadInput NotRewritten(std::string name, std::string bytes, Placement placement,
                      const std::string& found, const std::string& cause,
                      const std::string& remedy) {
    std::vector<std::string> read = ValuesReadFrom(bytes);
    BadInput input = Placed(Kept(std::move(name), std::move(bytes), read), placement);
    input.log = {
        "Install_Helmshroud :: Error: Helmshroud.ini " + found +
        ", and it couldn't be rewritten: " + cause +
        ". Its values were sent as Windows read them, and the file was left as it is: " + remedy +
        ", or save the file as ANSI, UTF-8 without a byte-order mark, or UTF-16 LE with "
        "its byte-order mark."};
    if (read.back().empty()) {
        input.log.push_back(kRepairFailed);
    }
    input.log.push_back(kCalled);
    return input;
}

} // namespace

// Windows' profile functions take a UTF-8 mark for text, so [Settings] behind it is not seen, and
// read UTF-16 little-endian only; Wine reads through both. The plugin rewrites such a file before
// it reads anything, so both read the player's values.
TEST_CASE("a UTF-8 byte-order mark is removed and UTF-16 BE becomes LE before the first read, "
          "with one warning, while UTF-16 LE and a file without a mark are read as they stand") {
    const std::string fullLe = Utf16(FullText());
    const std::string repairedLe = Utf16(FullTextWithoutDebugMode() + "bDebugMode=0\r\n");
    const std::string letter = "[Settings]\r\niIsWeaponDrawn=\xC3\xA9\r\nbDebugMode=1\r\n";
    const std::vector<std::string> letterWarnings{SentEmptyBut({"iIsWeaponDrawn"}),
                                                  Unfit("iIsWeaponDrawn", "\xC3\xA9")};
    std::vector<BadInputOutcome> outcomes = RunAndCheck({
        Rewritten(Kept("UTF-8 byte-order mark", kUtf8Mark + FullText(), FullValues()), FullText(),
                  kMarkRemoved),
        Rewritten(Repaired("UTF-8 byte-order mark, no bDebugMode",
                           kUtf8Mark + FullTextWithoutDebugMode(), FullValues(), ""),
                  FullTextWithoutDebugMode() + "bDebugMode=0\r\n", kMarkRemoved),
        Rewritten(Kept("UTF-16 BE byte-order mark", Utf16Be(FullText()), FullValues()), fullLe,
                  kBigEndianRewritten),
        Rewritten(Repaired("UTF-16 BE byte-order mark, no bDebugMode",
                           Utf16Be(FullTextWithoutDebugMode()), FullValues(), ""),
                  repairedLe, kBigEndianRewritten),
        Kept("UTF-16 LE byte-order mark", fullLe, FullValues()),
        Repaired("UTF-16 LE byte-order mark, no bDebugMode", Utf16(FullTextWithoutDebugMode()),
                 FullValues(), repairedLe),
        // With the mark gone a letter outside ASCII goes out as its UTF-8 bytes, as from a file
        // saved without one.
        Rewritten(Warned(Kept("UTF-8 letter in a value, with the mark", kUtf8Mark + letter,
                              Values({{6, "\xC3\xA9"}, {18, "1"}})),
                         letterWarnings),
                  letter, kMarkRemoved),
        Warned(Kept("UTF-8 letter in a value, without the mark", letter,
                    Values({{6, "\xC3\xA9"}, {18, "1"}})),
               letterWarnings),
    });
    // No temporary file is left beside the settings file.
    for (const BadInputOutcome& outcome : outcomes) {
        CHECK(outcome.entries == std::vector<std::string>{"Helmshroud.dll", "Helmshroud.ini"});
    }
}

TEST_CASE("a file Windows can't read that can't be rewritten either is left byte for byte without "
          "a repair, and the run sends what the platform reads and says what to do") {
    const std::string mark = "begins with a UTF-8 byte-order mark, which hides its first section "
                             "from Windows";
    const std::string bigEndian = "is saved as UTF-16 big-endian, which Windows can't read";
    const std::string held = "another program holds it open";
    const std::string readOnly = "it is marked read-only";
    std::vector<BadInputOutcome> outcomes = RunAndCheck({
        NotRewritten("UTF-8 byte-order mark, held open by another program",
                     kUtf8Mark + FullTextWithoutDebugMode(), Placement::HeldSharingReads, mark,
                     held, "close that program"),
        NotRewritten("UTF-16 BE, held open by another program", Utf16Be(FullText()),
                     Placement::HeldSharingReads, bigEndian, held, "close that program"),
        NotRewritten("UTF-8 byte-order mark, read-only", kUtf8Mark + FullTextWithoutDebugMode(),
                     Placement::ReadOnlyFile, mark, readOnly, "clear its read-only mark"),
        NotRewritten("UTF-16 BE, read-only", Utf16Be(FullTextWithoutDebugMode()),
                     Placement::ReadOnlyFile, bigEndian, readOnly, "clear its read-only mark"),
    });
    for (const BadInputOutcome& outcome : outcomes) {
        CHECK(outcome.entries == std::vector<std::string>{"Helmshroud.dll", "Helmshroud.ini"});
    }
}

// Windows' writer edits the file in place and keeps the lines it does not change as they were.
TEST_CASE("CR-only, LF-only and mixed line ends and a missing final newline are read alike, and "
          "Wine's writer ends every line in CR LF when it repairs bDebugMode") {
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
