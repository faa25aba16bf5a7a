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

#include <tuple>

using namespace testing;
using settings::Presence;
using settings::PresenceAnswer;

namespace {

// The runtime's locale as a program that set it to UTF-8 has it (msvcrt has no UTF-8 locale).
unsigned Utf8Locale() {
    return CP_UTF8;
}

} // namespace

TEST_CASE("a missing file or folder and an invalid name are absent without an error line, an "
          "existing file and a folder named like the file present, and an unreachable network "
          "share unknown, so IniExists says false and logs an error") {
    TempFolder root;
    WriteFileBytes(root / "file.ini", "");
    MakeFolders(root / "folder.ini\\");
    struct Row {
        std::string folder;
        const char* name;
        Presence presence;
        std::uint32_t error;
    };
    // Wine fails the query of a share on a host it does not know with error 66 (bad device type).
    const Row rows[] = {{root.Path(), "missing", Presence::Absent, 2},
                        {root / "missing\\", "a", Presence::Absent, 3},
                        {root.Path(), "a<b", Presence::Absent, 123},
                        {root.Path(), "a|b", Presence::Absent, 123},
                        {root.Path(), "file", Presence::Present, 0},
                        {root.Path(), "folder", Presence::Present, 0},
                        {"\\\\nohost\\share\\", "Helmshroud", Presence::Unknown, 66}};
    std::vector<std::tuple<PresenceAnswer, Presence, bool>> seen;
    StdoutCapture out;
    for (const Row& row : rows) {
        seen.emplace_back(settings::QueryPresence(row.folder + row.name + ".ini"),
                          settings::IniPresence(row.name, row.folder),
                          IniExists(row.name, row.folder));
    }
    FlushLog();
    const std::string printed = out.Finish();

    for (std::size_t i = 0; i < seen.size(); ++i) {
        const auto& [answer, presence, exists] = seen[i];
        CAPTURE(rows[i].name);
        CHECK(answer.presence == rows[i].presence);
        CHECK(answer.windowsError == rows[i].error);
        CHECK(presence == rows[i].presence);
        CHECK(exists == (rows[i].presence == Presence::Present));
    }
    const std::string line =
        "IniExists :: Error: exists failed for \\\\nohost\\share\\Helmshroud.ini "
        "(Windows error 66).\n";
    CHECK(printed == line + line);
}

TEST_CASE(
    "under a UTF-8 runtime locale a narrow path is read as UTF-8, and a path that is no UTF-8 "
    "can't be told, and an empty path is an empty wide one") {
    TempFolder root;
    WriteFileBytes(root / "caf\xE9.ini", ""); // e acute in the ANSI code page
    ImportDouble locale("msvcrt.dll", "___lc_codepage_func", reinterpret_cast<void*>(&Utf8Locale));
    REQUIRE(locale.Installed());

    CHECK(settings::QueryPresence(root / "caf\xC3\xA9.ini").presence == Presence::Present);
    const PresenceAnswer ansi = settings::QueryPresence(root / "caf\xE9.ini");
    CHECK(ansi.presence == Presence::Unknown);
    CHECK(ansi.windowsError == ERROR_NO_UNICODE_TRANSLATION);

    std::wstring wide = L"left over";
    unsigned long error = 0;
    CHECK(settings::ToWidePath("", wide, error));
    CHECK(wide.empty());
    CHECK(error == 0);
}
