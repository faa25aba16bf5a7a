// Settings files players really produce, or that break parsers, through the real Helmshroud.dll in
// the simulated game: one test case per folder of tests/bad_inputs/cases/.
#include "tests/bad_inputs/case_folder.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("a fresh game folder gets the eighteen defaults in send-number order, every key of a "
          "settings file is sent under its own number, a bDebugMode missing or with nothing after "
          "the equals sign is repaired as 0 and sent as 0, a file holding only the section header "
          "sends seventeen empty values, and values are sent exactly as the profile functions "
          "return them") {
    RunCaseFolder("routine");
}

TEST_CASE(
    "a UTF-8 byte-order mark is removed and UTF-16 BE becomes LE, with one warning, where the "
    "platform read no value from the settings file, a file that can't be rewritten either "
    "is left byte for byte without a repair and the run says what to do, and every other "
    "text form and line end is read as it stands, Wine's writer ending every line in CR LF "
    "when it repairs bDebugMode") {
    RunCaseFolder("text_forms");
}

TEST_CASE("of a section or key written twice the first one counts and the line not read is named, "
          "and letter case, blanks, quotes, '=' inside values, comments, keys before the section "
          "and an empty settings "
          "file keep every value a player wrote as the profile functions read them, Wine's writer "
          "dropping blanks, blank lines and a header's comment when it repairs bDebugMode") {
    RunCaseFolder("layout");
}

TEST_CASE("a sound settings file logs exactly the lines it logged before, and the log names the "
          "keys missing or empty, a missing bDebugMode in its own line, keys that are none of the "
          "eighteen with the key most likely meant and past five counted, settings under another "
          "section or above the first section line with the line to change, values that do not fit "
          "their type, and lines the platform reads otherwise than their text stands, and where "
          "such a line, or a bDebugMode no reader sees, stands in the repair's way, it is held "
          "back and the log says why") {
    RunCaseFolder("diagnostics");
}

TEST_CASE("NUL bytes and random binary in a settings file neither crash nor stall the game and "
          "the values around them are kept, a file with NUL bytes outside UTF-16 is not repaired, "
          "since the rewrite would cut its lines at the NUL bytes, and a file that reads as no "
          "text, UTF-16 without its mark among them, is kept and told how to save it") {
    RunCaseFolder("binary");
}

TEST_CASE(
    "values of 254, 255 and 1,000 characters go out cut to 254 and stay whole in the settings "
    "file, and a file over 1 MiB (a 1 MiB line, 100,000 keys in 10 MiB) sends what the "
    "platform reads and is kept whole, unexplained, its bDebugMode not added") {
    RunCaseFolder("size");
}

TEST_CASE("a folder named Helmshroud.ini, a settings file held open with no sharing, or a folder "
          "where the temporary file goes is named as the cause and nothing is sent, a file held "
          "for writing or marked read-only is read and sent and the repair it blocks logged as an "
          "error, and a read-only plugin folder changes nothing") {
    RunCaseFolder("file_system");
}
