// The lines about the settings file itself name the cause as the platform answered it, in the
// player's words where there are plainer ones than a Windows error number, and what to do.
#include "settings/file/file_lines.h"

#include <doctest.h>

#include <string>

using namespace settings;
using Step = FileStatus::Step;

TEST_CASE("each Windows error is told as its cause, with what to do") {
    const std::string read = "Install_Helmshroud :: Error: Helmshroud.ini can't be read: ";
    CHECK(UnreadableLine({Step::Read, 5, true}) ==
          read + "a folder of that name stands in its place. Nothing sent.");
    for (std::uint32_t error : {32u, 33u}) {
        CHECK(UnreadableLine({Step::Read, error}) ==
              read + "another program holds it open and lets nobody read it (Windows error " +
                  std::to_string(error) + "). Nothing sent.");
    }
    CHECK(UnreadableLine({Step::Read, 5}) ==
          read + "Windows denies the game reading it (Windows error 5). Nothing sent.");
    CHECK(UnreadableLine({Step::Read, 3}) ==
          read + "it is no longer there (Windows error 3). Nothing sent.");
    CHECK(UnreadableLine({Step::Read, 1117}) == read + "Windows error 1117. Nothing sent.");

    const std::string made = "Install_Helmshroud :: Error: couldn't make Helmshroud.ini: its "
                             "defaults go first into Helmshroud.ini.helmshroud-new beside it, ";
    CHECK(CreationFailedLine({Step::Temporary, 5}) ==
          made + "which can't be made: Windows error 5; let the game write to its "
                 "Data\\KORV\\Plugins folder.");
    CHECK(CreationFailedLine({Step::Write, 112}) ==
          made + "and Windows refused to write them there (Windows error 112).");
    CHECK(CreationFailedLine({Step::Place, 183}) ==
          made + "and that file couldn't take its place (Windows error 183).");

    const std::string found = "Install_Helmshroud :: Error: Helmshroud.ini is saved as UTF-16 "
                              "big-endian, which Windows can't read, and it couldn't be "
                              "rewritten: ";
    const std::string left = ". The file was left as it is: ";
    const std::string forms = ", or save the file as ANSI, UTF-8 without a byte-order mark, or "
                              "UTF-16 LE with its byte-order mark.";
    CHECK(RewriteLine(TextForm::Utf16Be, {Step::Temporary, 80}) ==
          found +
              "its temporary file Helmshroud.ini.helmshroud-new can't be made beside it (a "
              "file of that name stands there that the plugin did not make)" +
              left + "remove or rename it" + forms);
    CHECK(RewriteLine(TextForm::Utf16Be, {Step::Place, 5}) ==
          found + "Windows error 5" + left + "load a game again" + forms);
    CHECK(RewriteLine(TextForm::Utf16Be, {Step::Changed, 0}) ==
          found + "it changed while the plugin rewrote it" + left + "load a game again" + forms);
}
