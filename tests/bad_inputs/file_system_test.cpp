// A settings file the file system stands in the way of: a folder in its place, a read-only file or
// plugin folder, a file another program holds open.
#include "tests/bad_inputs/bad_input_check.h"
#include "tests/support/expected_defaults.h"

#include <doctest.h>

#include <windows.h>

using namespace testing;

namespace {

// A file that exists but cannot be read: the run says so, sends nothing and writes nothing.
BadInput Unreadable(std::string name, std::string bytes, Placement placement,
                    const std::string& cause) {
    BadInput input;
    input.name = std::move(name);
    input.after = bytes;
    input.bytes = std::move(bytes);
    input.placement = placement;
    input.log = {"Install_Helmshroud :: Error: Helmshroud.ini can't be read: " + cause +
                 ". Nothing sent."};
    return input;
}

std::vector<std::string> DefaultValues() {
    return {"1", "-1", "-1", "-1", "1", "0", "0", "0",  "0",
            "0", "0",  "0",  "-1", "0", "0", "0", "-1", "0"};
}

} // namespace

TEST_CASE("a folder named Helmshroud.ini or a file held open with no sharing can't be read: the "
          "run names the cause, sends nothing and writes nothing") {
    const std::string held = "another program holds it open and lets nobody read it (Windows "
                             "error 32)";
    std::vector<BadInputOutcome> outcomes = RunAndCheck({
        Unreadable("a folder named Helmshroud.ini", "", Placement::Directory,
                   "a folder of that name stands in its place"),
        Unreadable("held open with no sharing", FullText(), Placement::HeldExclusively, held),
        Unreadable("held open with no sharing, no bDebugMode", FullTextWithoutDebugMode(),
                   Placement::HeldExclusively, held),
    });
    REQUIRE(outcomes.size() == 3);
    CHECK(outcomes[0].fileAttributes == FILE_ATTRIBUTE_DIRECTORY);
    CHECK(outcomes[0].entries == std::vector<std::string>{"Helmshroud.dll", "Helmshroud.ini\\"});
}

TEST_CASE("a file another program holds open for writing is read and sent, and the repair it "
          "blocks is logged as an error") {
    RunAndCheck({
        Placed(Kept("held open for writing, sharing reads", FullText(), FullValues()),
               Placement::HeldSharingReads),
        RepairRefused("held open for writing, sharing reads, no bDebugMode",
                      FullTextWithoutDebugMode(), With(FullValues(), 18, ""),
                      Placement::HeldSharingReads),
    });
}

TEST_CASE("a read-only settings file is read and kept, and a read-only plugin folder changes "
          "nothing") {
    // Windows refuses the repair write to a read-only file. Wine maps the mark onto the Unix
    // permissions, which do not bind a process running as root: there the repair goes through.
    const bool markStopsWrites = ReadOnlyMarkStopsWrites();
    BadInput readOnlyRepair =
        markStopsWrites
            ? RepairRefused("read-only file, no bDebugMode", FullTextWithoutDebugMode(),
                            With(FullValues(), 18, ""), Placement::ReadOnlyFile)
            : Placed(Repaired("read-only file, no bDebugMode", FullTextWithoutDebugMode(),
                              FullValues(), FullTextWithoutDebugMode() + "bDebugMode=0\r\n"),
                     Placement::ReadOnlyFile);
    BadInput created;
    created.name = "read-only plugin folder, no settings file";
    created.placement = Placement::ReadOnlyFolder;
    created.sent = DefaultValues();
    created.log = {kCreated, kCalled};
    created.after = kDefaultSettingsFile;

    std::vector<BadInputOutcome> outcomes = RunAndCheck({
        Placed(Kept("read-only file", FullText(), FullValues()), Placement::ReadOnlyFile),
        readOnlyRepair,
        Placed(Kept("read-only plugin folder", FullText(), FullValues()),
               Placement::ReadOnlyFolder),
        created,
    });
    REQUIRE(outcomes.size() == 4);
    // The file keeps its mark, through the repair too.
    CHECK((outcomes[0].fileAttributes & FILE_ATTRIBUTE_READONLY) != 0);
    CHECK((outcomes[1].fileAttributes & FILE_ATTRIBUTE_READONLY) != 0);
    // Wine accepts the read-only mark on a folder but does not keep it.
    CHECK(outcomes[2].folderAttributes == FILE_ATTRIBUTE_DIRECTORY);
    CHECK(outcomes[3].folderAttributes == FILE_ATTRIBUTE_DIRECTORY);
}

// The plugin writes a new settings file beside it first, under a name no player gives a file.
TEST_CASE(
    "a folder where the plugin's temporary file goes keeps the settings file from being made: "
    "the run names it, sends nothing, and leaves the folder be") {
    BadInput taken = Unreadable("a folder named Helmshroud.ini.helmshroud-new", "",
                                Placement::TemporaryTaken, "");
    taken.log = {"Install_Helmshroud :: Error: couldn't make Helmshroud.ini: its defaults go first "
                 "into Helmshroud.ini.helmshroud-new beside it, which can't be made: a folder of "
                 "that name stands there; remove it.",
                 "Install_Helmshroud :: Error: Helmshroud.ini couldn't be created. Aborting."};
    std::vector<BadInputOutcome> outcomes = RunAndCheck({taken});
    REQUIRE(outcomes.size() == 1);
    CHECK(outcomes[0].entries ==
          std::vector<std::string>{"Helmshroud.dll", "Helmshroud.ini.helmshroud-new\\"});
}
