// The INI helpers against Wine's own profile functions and file system, in temporary folders: what
// they read and write, and which answers of the existence test mean "absent", "present" or "can't
// tell" (the verdict on a failed query alone is in presence_verdict_test.cpp).
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

// Doubles that count each profile and file-system call the helpers make and fail it; the attribute
// query fails as for a file the process may not look at.
int g_calls = 0;
DWORD WINAPI FailedRead(LPCSTR, LPCSTR, LPCSTR, LPSTR, DWORD, LPCSTR) {
    ++g_calls;
    return 0;
}
BOOL WINAPI FailedWrite(LPCSTR, LPCSTR, LPCSTR, LPCSTR) {
    ++g_calls;
    return FALSE;
}
BOOL WINAPI DeniedAttributes(LPCWSTR, GET_FILEEX_INFO_LEVELS, LPVOID) {
    ++g_calls;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// The runtime's locale as a program that set it to UTF-8 has it (msvcrt has no UTF-8 locale).
unsigned Utf8Locale() {
    return CP_UTF8;
}

} // namespace

TEST_CASE("the file lies in the plugin folder unless a directory argument replaces that folder, "
          "and a directory without its final backslash fuses with the base name into a file "
          "beside it") {
    CHECK(settings::IniPath("Helmshroud", "") == ".\\Data\\KORV\\Plugins\\Helmshroud.ini");
    CHECK(settings::IniPath("a", "C:\\x\\") == "C:\\x\\a.ini");

    TempFolder game;
    MakeFolders(game / "Data\\KORV\\Plugins\\");
    MakeFolders(game / "other\\");
    WorkingDirectory cwd(game.Path());
    CHECK(settings::IniPath("d", game / "other") == game / "otherd.ini");

    CHECK(IniWrite("a", "S", "k", "v", ""));
    // A relative directory is taken from the working directory, not from the plugin folder.
    CHECK(IniWrite("b", "S", "k", "w", "other\\"));
    CHECK(IniWrite("c", "S", "k", "x", game / "other\\"));
    CHECK(IniWrite("d", "S", "k", "y", game / "other"));

    CHECK(ReadFileBytes(game / "Data\\KORV\\Plugins\\a.ini") == "[S]\r\nk=v\r\n");
    CHECK(ReadFileBytes(game / "otherd.ini") == "[S]\r\nk=y\r\n");
    CHECK(EntriesBelow(game.Path()) ==
          std::vector<std::string>{"Data\\", "Data\\KORV\\", "Data\\KORV\\Plugins\\",
                                   "Data\\KORV\\Plugins\\a.ini", "other\\", "other\\b.ini",
                                   "other\\c.ini", "otherd.ini"});
    CHECK(IniRead("a", "S", "k", "") == "v");
    CHECK(IniRead("b", "S", "k", "other\\") == "w");
    CHECK(IniExists("c", game / "other\\"));
    CHECK(IniExists("d", game / "other"));
    CHECK(IniRead("d", "S", "k", game / "other") == "y");
}

TEST_CASE("empty arguments are refused without any profile or file-system call, and where whether "
          "the file is there can't be told IniWrite writes nothing and returns false") {
    TempFolder root;
    const std::string dir = root.Path();
    WriteFileBytes(root / "a.ini", "[S]\r\nk=old\r\n");
    ImportDouble read("KERNEL32.dll", "GetPrivateProfileStringA",
                      reinterpret_cast<void*>(&FailedRead));
    ImportDouble write("KERNEL32.dll", "WritePrivateProfileStringA",
                       reinterpret_cast<void*>(&FailedWrite));
    ImportDouble attributes("KERNEL32.dll", "GetFileAttributesExW",
                            reinterpret_cast<void*>(&DeniedAttributes));
    REQUIRE((read.Installed() && write.Installed() && attributes.Installed()));
    g_calls = 0;

    CHECK_FALSE(IniExists("", dir));
    CHECK_FALSE(IniWrite("", "S", "k", "v", dir));
    CHECK_FALSE(IniWrite("a", "", "k", "v", dir));
    CHECK_FALSE(IniWrite("a", "S", "", "v", dir));
    CHECK_FALSE(IniWrite("a", "S", "k", "", dir));
    CHECK(IniRead("", "S", "k", dir).empty());
    CHECK(IniRead("a", "", "k", dir).empty());
    CHECK(IniRead("a", "S", "", dir).empty());
    CHECK(g_calls == 0);

    // Each of these asks once whether the file is there and goes no further; the profile read
    // itself asks nothing.
    CHECK_FALSE(IniWrite("a", "S", "k", "new", dir));
    CHECK_FALSE(IniWrite("missing", "S", "k", "new", dir));
    CHECK(IniRead("a", "S", "k", dir).empty());
    CHECK(RawRead(dir + "a.ini", "S", "k", "").empty());
    FlushLog();
    CHECK(g_calls == 4);
    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nk=old\r\n");
    CHECK(EntriesBelow(dir) == std::vector<std::string>{"a.ini"});
}

TEST_CASE(
    "IniWrite stores the value and returns true once it reads back, and into a missing folder "
    "returns false and creates nothing, and IniRead gives the empty text for an absent key, an "
    "empty key and a missing file") {
    TempFolder root;
    CHECK(IniWrite("a", "S", "k", "v", root.Path()));
    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nk=v\r\n");
    CHECK(IniWrite("a", "S", "k", "changed value", root.Path()));
    CHECK(IniWrite("a", "T", "k", "-1", root.Path()));
    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nk=changed value\r\n[T]\r\nk=-1\r\n");
    CHECK_FALSE(IniWrite("a", "S", "k", "v", root / "missing\\"));
    CHECK_FALSE(IniWrite("a", "S", "k", "v", root / "missing\\deeper\\"));
    CHECK(EntriesBelow(root.Path()) == std::vector<std::string>{"a.ini"});

    WriteFileBytes(root / "b.ini", "[S]\r\nfull=x\r\nempty=\r\n[T]\r\nother=y\r\n");
    CHECK(IniRead("b", "S", "full", root.Path()) == "x");
    CHECK(IniRead("b", "S", "empty", root.Path()).empty());
    CHECK(IniRead("b", "S", "absent", root.Path()).empty());
    CHECK(IniRead("b", "S", "other", root.Path()).empty());
    CHECK(IniRead("b", "Absent", "full", root.Path()).empty());
    CHECK(IniRead("missing", "S", "full", root.Path()).empty());
    CHECK_FALSE(FileExists(root / "missing.ini"));
}

TEST_CASE("IniWrite returns true exactly when the file took the value: false into a file another "
          "program holds denying writes and into a folder named like the file, true into UTF-16 "
          "text, and for a read-only file as the platform treats the mark") {
    TempFolder root;
    const std::string held = root / "held.ini";
    WriteFileBytes(held, "[S]\r\nother=1\r\n");
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    REQUIRE(holder != INVALID_HANDLE_VALUE);
    const bool heldWritten = IniWrite("held", "S", "k", "v", root.Path());
    CloseHandle(holder);
    CHECK_FALSE(heldWritten);
    CHECK(ReadFileBytes(held) == "[S]\r\nother=1\r\n");

    MakeFolders(root / "folder.ini\\");
    CHECK(IniExists("folder", root.Path()));
    CHECK_FALSE(IniWrite("folder", "S", "k", "v", root.Path()));

    const std::string utf16NoMark("[\0S\0]\0\r\0\n\0k\0=\0\x31\0\r\0\n\0", 20);
    WriteFileBytes(root / "wide.ini", "\xFF\xFE" + utf16NoMark);
    CHECK(IniWrite("wide", "S", "other", "2", root.Path()));
    CHECK(IniRead("wide", "S", "k", root.Path()) == "1");

    // Windows refuses the write. Wine maps the attribute onto the Unix permissions, which do not
    // bind a process running as root: there the value is stored.
    const std::string readOnly = root / "read-only.ini";
    WriteFileBytes(readOnly, "[S]\r\nother=1\r\n");
    REQUIRE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const bool written = IniWrite("read-only", "S", "k", "v", root.Path());
    const std::string bytes = ReadFileBytes(readOnly);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK(bytes == (written ? "[S]\r\nother=1\r\nk=v\r\n" : "[S]\r\nother=1\r\n"));
}

TEST_CASE("reads stop at 254 characters so a longer value fails its read-back, and full paths of "
          "255 characters or more are refused and nothing is written") {
    TempFolder root;
    const std::string fits(254, 'v');
    CHECK(IniWrite("a", "S", "fits", fits, root.Path()));
    CHECK(IniRead("a", "S", "fits", root.Path()) == fits);
    CHECK_FALSE(IniWrite("a", "S", "long", fits + "w", root.Path()));
    // The profile writer stores the whole value; only the read is cut.
    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nfits=" + fits + "\r\nlong=" + fits + "w\r\n");
    CHECK(IniRead("a", "S", "long", root.Path()) == fits);
    WriteFileBytes(root / "b.ini", "[S]\r\nk=" + std::string(300, 'x') + "\r\n");
    CHECK(IniRead("b", "S", "k", root.Path()) == std::string(254, 'x'));

    // root + base name + ".ini": 254 characters fit the path buffer with its zero, 255 do not.
    const std::string fitsName(254 - root.Path().size() - 4, 'f');
    const std::string longName = fitsName + "l";
    const std::string longPath = root / (longName + ".ini");
    REQUIRE(longPath.size() == 255);
    CHECK(IniWrite(fitsName, "S", "k", "v", root.Path()));
    CHECK(IniRead(fitsName, "S", "k", root.Path()) == "v");
    CHECK(RawRead(root / (fitsName + ".ini"), "S", "k", "") == "v");
    CHECK_FALSE(IniWrite(longName, "S", "k", "v", root.Path()));
    CHECK_FALSE(FileExists(longPath));

    // Even a file that is there is not read through a path that does not fit.
    WriteFileBytes(longPath, "[S]\r\nk=v\r\n");
    REQUIRE(FileExists(longPath));
    StdoutCapture out;
    const bool exists = IniExists(longName, root.Path());
    const std::string read = IniRead(longName, "S", "k", root.Path());
    const std::string raw = RawRead(longPath, "S", "k", "fallback");
    const bool written = IniWrite(longName, "S", "k", "w", root.Path());
    FlushLog();
    const std::string printed = out.Finish();
    CHECK_FALSE(exists);
    CHECK(read.empty());
    CHECK(raw.empty());
    CHECK_FALSE(written);
    CHECK(ReadFileBytes(longPath) == "[S]\r\nk=v\r\n");
    CHECK(printed == "IniExists :: Error: the path of " + longName + ".ini is too long.\n");
}

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
