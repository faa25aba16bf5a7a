// The lines about the settings file itself: each names the cause as the platform answered it, in
// the player's words where there are plainer ones than the Windows error, and what to do.
#include "settings/guards/file_lines.h"

#include <doctest.h>

#include <string>

using namespace settings;

TEST_CASE("a file that can't be read, made or rewritten is told with its cause and what to do") {
    const std::string cantRead = "Install_Helmshroud :: Error: Helmshroud.ini can't be read: ";
    CHECK(UnreadableLine({true, 5}) ==
          cantRead + "a folder of that name stands in its place. Nothing sent.");
    CHECK(UnreadableLine({false, 32}) == cantRead + "another program holds it open and lets nobody "
                                                    "read it (Windows error 32). Nothing sent.");
    CHECK(UnreadableLine({false, 33}).find("lets nobody read it (Windows error 33)") !=
          std::string::npos);
    CHECK(UnreadableLine({false, 5}) ==
          cantRead + "Windows denies the game reading it (Windows error 5). Nothing sent.");
    CHECK(ReadsFailedLine({false, 2}) ==
          "Install_Helmshroud :: Error: Windows couldn't read Helmshroud.ini: it is no longer "
          "there (Windows error 2). Nothing sent, and the file was left as it is; the next game "
          "load reads it again.");
    CHECK(ReadsFailedLine({false, 3}).find("no longer there (Windows error 3)") !=
          std::string::npos);
    CHECK(UnreadableLine({false, 1117}) == cantRead + "Windows error 1117. Nothing sent.");

    const std::string notMade = "Install_Helmshroud :: Error: couldn't make Helmshroud.ini: its "
                                "defaults go first into Helmshroud.ini.helmshroud-new beside it, ";
    RewriteOutcome noTemporary{RewriteFailure::NoTemporary, 5};
    CHECK(CreationFailedLine(noTemporary) ==
          notMade + "which can't be made: Windows error 5; let the game write to its "
                    "Data\\KORV\\Plugins folder.");
    CHECK(CreationFailedLine({RewriteFailure::Copy, 112}) ==
          notMade + "and Windows refused to write them there (Windows error 112).");
    CHECK(CreationFailedLine({RewriteFailure::Replace, 183}) ==
          notMade + "and that file couldn't take its place (Windows error 183).");

    const std::string start = "Install_Helmshroud :: Error: Helmshroud.ini is saved as UTF-16 "
                              "big-endian, which Windows can't read, and it couldn't be "
                              "rewritten: ";
    const std::string sent =
        ". Its values were sent as Windows read them, and the file was left as it is: ";
    const std::string end = ", or save the file as ANSI, UTF-8 without a byte-order mark, or "
                            "UTF-16 LE with its byte-order mark.";
    CHECK(RewriteFailedLine(TextForm::Utf16Be, {RewriteFailure::NoTemporary, 80}) ==
          start +
              "its temporary file Helmshroud.ini.helmshroud-new can't be made beside it (a file "
              "of that name stands there that the plugin did not make)" +
              sent + "remove or rename it" + end);
    CHECK(RewriteFailedLine(TextForm::Utf16Be, {RewriteFailure::Replace, 5}) ==
          start + "Windows error 5" + sent + "load a game again" + end);
    CHECK(RewriteFailedLine(TextForm::Utf16Be, {RewriteFailure::Copy, 5}) ==
          RewriteFailedLine(TextForm::Utf16Be, {RewriteFailure::Replace, 5}));
}
