// The existence test against the file system: which of its answers mean "absent", "present" or
// "can't tell" (the verdict on a failed query alone is in presence_verdict_test.cpp).
#include "korv_common/Log.h"
#include "settings/ini/file_presence.h"
#include "settings/ini/ini.h"
#include "tests/support/files.h"
#include "tests/support/import_double.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

using namespace testing;
using settings::Presence;
using settings::PresenceAnswer;

namespace {

// The runtime's locale as a program that set it to UTF-8 has it (msvcrt has no UTF-8 locale).
unsigned Utf8Locale() {
    return CP_UTF8;
}

} // namespace

TEST_CASE("a missing file or folder and an invalid name are absent without an error line") {
    TempFolder root;

    StdoutCapture out;
    PresenceAnswer missingFile = settings::QueryPresence(root / "missing.ini");
    PresenceAnswer missingFolder = settings::QueryPresence(root / "missing\\a.ini");
    PresenceAnswer angle = settings::QueryPresence(root / "a<b.ini");
    PresenceAnswer bar = settings::QueryPresence(root / "a|b.ini");
    bool missingFileExists = IniExists("missing", root.Path());
    bool missingFolderExists = IniExists("a", root / "missing\\");
    bool angleExists = IniExists("a<b", root.Path());
    bool barExists = IniExists("a|b", root.Path());
    FlushLog();
    std::string printed = out.Finish();

    CHECK(missingFile.presence == Presence::Absent);
    CHECK(missingFile.windowsError == 2);
    CHECK(missingFolder.presence == Presence::Absent);
    CHECK(missingFolder.windowsError == 3);
    CHECK(angle.presence == Presence::Absent);
    CHECK(angle.windowsError == 123);
    CHECK(bar.presence == Presence::Absent);
    CHECK(bar.windowsError == 123);
    CHECK_FALSE(missingFileExists);
    CHECK_FALSE(missingFolderExists);
    CHECK_FALSE(angleExists);
    CHECK_FALSE(barExists);
    CHECK(printed.empty());
}

TEST_CASE("an existing file and a folder named like the file both count as present") {
    TempFolder root;
    WriteFileBytes(root / "file.ini", "");
    MakeFolders(root / "folder.ini\\");

    PresenceAnswer file = settings::QueryPresence(root / "file.ini");
    PresenceAnswer folder = settings::QueryPresence(root / "folder.ini");
    CHECK(file.presence == Presence::Present);
    CHECK(file.windowsError == 0);
    CHECK(folder.presence == Presence::Present);
    CHECK(folder.windowsError == 0);
    CHECK(IniExists("file", root.Path()));
    CHECK(IniExists("folder", root.Path()));
}

TEST_CASE("an unreachable network share is unknown so IniExists says false and logs an error") {
    // Wine fails the query of a share on a host it does not know with error 66 (bad device type).
    StdoutCapture out;
    PresenceAnswer answer = settings::QueryPresence("\\\\nohost\\share\\Helmshroud.ini");
    Presence presence = settings::IniPresence("Helmshroud", "\\\\nohost\\share\\");
    bool exists = IniExists("Helmshroud", "\\\\nohost\\share\\");
    FlushLog();
    std::string printed = out.Finish();

    CHECK(answer.presence == Presence::Unknown);
    CHECK(answer.windowsError == 66);
    CHECK(presence == Presence::Unknown);
    CHECK_FALSE(exists);
    CHECK(SplitLines(printed, "\n") ==
          std::vector<std::string>{
              "IniExists :: Error: exists failed for \\\\nohost\\share\\Helmshroud.ini (Windows "
              "error 66).",
              "IniExists :: Error: exists failed for \\\\nohost\\share\\Helmshroud.ini (Windows "
              "error 66)."});
}

TEST_CASE(
    "under a UTF-8 runtime locale a narrow path is read as UTF-8, and a path that is no UTF-8 "
    "can't be told, and an empty path is an empty wide one") {
    TempFolder root;
    WriteFileBytes(root / "caf\xE9.ini", ""); // e acute in the ANSI code page
    ImportDouble locale("msvcrt.dll", "___lc_codepage_func", reinterpret_cast<void*>(&Utf8Locale));
    REQUIRE(locale.Installed());

    PresenceAnswer utf8 = settings::QueryPresence(root / "caf\xC3\xA9.ini");
    PresenceAnswer ansi = settings::QueryPresence(root / "caf\xE9.ini");
    CHECK(utf8.presence == Presence::Present);
    CHECK(ansi.presence == Presence::Unknown);
    CHECK(ansi.windowsError == ERROR_NO_UNICODE_TRANSLATION);

    std::wstring wide = L"left over";
    unsigned long error = 0;
    CHECK(settings::ToWidePath("", wide, error));
    CHECK(wide.empty());
    CHECK(error == 0);
}
