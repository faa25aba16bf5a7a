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

// A file the platform reads no value from, as Windows reads the two forms below.
const std::string kNothingRead = "[Settings]\r\n;nothing yet\r\n";
// The values go out as the platform reads the file as it stands, and nothing is written into it.
// Such a file whose rewrite fails: read as it stands, its values sent as read (none), no repair.
BadInput NotRewritten(std::string name, std::string bytes, Placement placement,
                      const std::string& found, const std::string& cause,
                      const std::string& remedy) {
    BadInput input = Placed(Kept(std::move(name), std::move(bytes), Values({})), placement);
    input.log = {"Install_Helmshroud :: Error: Helmshroud.ini " + found +
                     ", and it couldn't be rewritten: " + cause +
                     ". Its values were sent as Windows read them, and the file was left as it "
                     "is: " +
                     remedy +
                     ", or save the file as ANSI, UTF-8 without a byte-order mark, or UTF-16 LE "
                     "with its byte-order mark.",
                 kRepairFailed, kAllSentEmpty, kCalled};
    return input;
}

} // namespace

// Windows' profile functions take a UTF-8 mark for text, so [Settings] behind it is not seen, and
// read UTF-16 little-endian only; Wine reads through both. Where the platform read no value from
// such a file, the plugin rewrites it and reads it again, so both read the player's values; where
// it read values, as Wine does, the file stays as it is.
TEST_CASE(
    "a UTF-8 byte-order mark is removed and UTF-16 BE becomes LE, with one warning, where the "
    "platform read no value from the file, and every other file is read as it stands") {
    const std::string fullLe = Utf16(FullText());
    const std::string repairedLe = Utf16(FullTextWithoutDebugMode() + "bDebugMode=0\r\n");
    const std::string letter = "[Settings]\r\niIsWeaponDrawn=\xC3\xA9\r\nbDebugMode=1\r\n";
    // Behind the mark Wine reads the letter as UTF-8, and hands it out in the ANSI code page.
    const std::string markedLetter = ValuesReadFrom(kUtf8Mark + letter)[5];
    const std::string header = "[Settings]\r\n";
    std::vector<BadInputOutcome> outcomes = RunAndCheck({
        Kept("UTF-8 byte-order mark", kUtf8Mark + FullText(), FullValues()),
        Repaired("UTF-8 byte-order mark, no bDebugMode", kUtf8Mark + FullTextWithoutDebugMode(),
                 FullValues(), AfterOneRepairWrite(kUtf8Mark + FullTextWithoutDebugMode())),
        Kept("UTF-16 BE byte-order mark", Utf16Be(FullText()), FullValues()),
        Rewritten(Warned(Repaired("UTF-8 byte-order mark, no value read", kUtf8Mark + header,
                                  Values({}), AfterOneRepairWrite(header)),
                         {kAllSentEmpty}),
                  AfterOneRepairWrite(header), kMarkRemoved),
        Rewritten(Warned(Repaired("UTF-16 BE byte-order mark, no value read", Utf16Be(header),
                                  Values({}), ""),
                         {kAllSentEmpty}),
                  AfterOneRepairWrite(Utf16(header)), kBigEndianRewritten),
        Kept("UTF-16 LE byte-order mark", fullLe, FullValues()),
        Repaired("UTF-16 LE byte-order mark, no bDebugMode", Utf16(FullTextWithoutDebugMode()),
                 FullValues(), repairedLe),
        Warned(Kept("UTF-8 letter in a value, with the mark", kUtf8Mark + letter,
                    Values({{6, markedLetter}, {18, "1"}})),
               {SentEmptyBut({"iIsWeaponDrawn"}), Unfit("iIsWeaponDrawn", markedLetter)}),
        Warned(Kept("UTF-8 letter in a value, without the mark", letter,
                    Values({{6, "\xC3\xA9"}, {18, "1"}})),
               {SentEmptyBut({"iIsWeaponDrawn"}), Unfit("iIsWeaponDrawn", "\xC3\xA9")}),
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
                     kUtf8Mark + kNothingRead, Placement::HeldSharingReads, mark, held,
                     "close that program"),
        NotRewritten("UTF-16 BE, held open by another program", Utf16Be(kNothingRead),
                     Placement::HeldSharingReads, bigEndian, held, "close that program"),
        NotRewritten("UTF-8 byte-order mark, read-only", kUtf8Mark + kNothingRead,
                     Placement::ReadOnlyFile, mark, readOnly, "clear its read-only mark"),
        NotRewritten("UTF-16 BE, read-only", Utf16Be(kNothingRead), Placement::ReadOnlyFile,
                     bigEndian, readOnly, "clear its read-only mark"),
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
