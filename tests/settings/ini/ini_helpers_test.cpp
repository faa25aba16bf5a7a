// The INI helpers against Wine's own profile functions, in temporary folders.
#include "korv_common/Log.h"
#include "settings/ini/ini.h"
#include "tests/support/files.h"
#include "tests/support/import_double.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

using namespace testing;

namespace {

// Counts the profile and file-system calls the helpers make, passing each on to Wine.
int g_calls = 0;
void* g_originalRead = nullptr;
void* g_originalWrite = nullptr;
void* g_originalAttributes = nullptr;

DWORD WINAPI CountedRead(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR value, DWORD size,
                         LPCSTR path) {
    ++g_calls;
    return reinterpret_cast<decltype(&GetPrivateProfileStringA)>(g_originalRead)(
        section, key, fallback, value, size, path);
}

BOOL WINAPI CountedWrite(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path) {
    ++g_calls;
    return reinterpret_cast<decltype(&WritePrivateProfileStringA)>(g_originalWrite)(section, key,
                                                                                    value, path);
}

BOOL WINAPI CountedAttributes(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
    ++g_calls;
    return reinterpret_cast<decltype(&GetFileAttributesExW)>(g_originalAttributes)(path, level,
                                                                                   data);
}

BOOL WINAPI DeniedAttributes(LPCWSTR, GET_FILEEX_INFO_LEVELS, LPVOID) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

} // namespace

TEST_CASE("the file lies in the plugin folder unless a directory argument replaces that folder") {
    CHECK(settings::IniPath("Helmshroud", "") == ".\\Data\\KORV\\Plugins\\Helmshroud.ini");
    CHECK(settings::IniPath("a", "C:\\x\\") == "C:\\x\\a.ini");

    TempFolder game;
    MakeFolders(game / "Data\\KORV\\Plugins\\");
    MakeFolders(game / "other\\");
    WorkingDirectory cwd(game.Path());

    CHECK(IniWrite("a", "S", "k", "v", ""));
    // A relative directory is taken from the working directory, not from the plugin folder.
    CHECK(IniWrite("b", "S", "k", "w", "other\\"));
    CHECK(IniWrite("c", "S", "k", "x", game / "other\\"));

    CHECK(ReadFileBytes(game / "Data\\KORV\\Plugins\\a.ini") == "[S]\r\nk=v\r\n");
    CHECK(EntriesBelow(game.Path()) ==
          std::vector<std::string>{"Data\\", "Data\\KORV\\", "Data\\KORV\\Plugins\\",
                                   "Data\\KORV\\Plugins\\a.ini", "other\\", "other\\b.ini",
                                   "other\\c.ini"});
    CHECK(IniRead("a", "S", "k", "") == "v");
    CHECK(IniRead("b", "S", "k", "other\\") == "w");
    CHECK(IniExists("c", game / "other\\"));
}

TEST_CASE(
    "a directory without its final backslash fuses with the base name into a file beside it") {
    TempFolder root;
    MakeFolders(root / "x\\");

    CHECK(settings::IniPath("a", root / "x") == root / "xa.ini");
    CHECK(IniWrite("a", "S", "k", "v", root / "x"));
    CHECK(ReadFileBytes(root / "xa.ini") == "[S]\r\nk=v\r\n");
    CHECK(EntriesBelow(root / "x\\").empty());
    CHECK(IniExists("a", root / "x"));
    CHECK(IniRead("a", "S", "k", root / "x") == "v");
}

TEST_CASE("empty arguments are refused without any profile or file-system call") {
    TempFolder root;
    WriteFileBytes(root / "a.ini", "[S]\r\nk=old\r\n");
    std::string dir = root.Path();

    ImportDouble read("KERNEL32.dll", "GetPrivateProfileStringA",
                      reinterpret_cast<void*>(&CountedRead));
    ImportDouble write("KERNEL32.dll", "WritePrivateProfileStringA",
                       reinterpret_cast<void*>(&CountedWrite));
    ImportDouble attributes("KERNEL32.dll", "GetFileAttributesExW",
                            reinterpret_cast<void*>(&CountedAttributes));
    REQUIRE(read.Installed());
    REQUIRE(write.Installed());
    REQUIRE(attributes.Installed());
    g_originalRead = read.Original();
    g_originalWrite = write.Original();
    g_originalAttributes = attributes.Original();
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
    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nk=old\r\n");

    // The counters do sit on the helpers' road.
    CHECK(IniRead("a", "S", "k", dir) == "old");
    CHECK(g_calls == 2);
}

TEST_CASE("IniRead gives the empty text for an absent key and an empty key and a missing file") {
    TempFolder root;
    WriteFileBytes(root / "a.ini", "[S]\r\nfull=x\r\nempty=\r\n[T]\r\nother=y\r\n");

    CHECK(IniRead("a", "S", "full", root.Path()) == "x");
    CHECK(IniRead("a", "S", "empty", root.Path()).empty());
    CHECK(IniRead("a", "S", "absent", root.Path()).empty());
    CHECK(IniRead("a", "S", "other", root.Path()).empty());
    CHECK(IniRead("a", "Absent", "full", root.Path()).empty());

    CHECK(IniRead("missing", "S", "full", root.Path()).empty());
    CHECK_FALSE(FileExists(root / "missing.ini"));
}

TEST_CASE("IniWrite stores the value and returns true once it reads back") {
    TempFolder root;

    CHECK(IniWrite("a", "S", "k", "v", root.Path()));
    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nk=v\r\n");
    CHECK(IniWrite("a", "S", "k", "changed value", root.Path()));
    CHECK(IniWrite("a", "T", "k", "-1", root.Path()));
    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nk=changed value\r\n[T]\r\nk=-1\r\n");
}

TEST_CASE("IniWrite into a missing folder returns false and creates nothing") {
    TempFolder root;

    CHECK_FALSE(IniWrite("a", "S", "k", "v", root / "missing\\"));
    CHECK_FALSE(IniWrite("a", "S", "k", "v", root / "missing\\deeper\\"));
    CHECK(EntriesBelow(root.Path()).empty());
}

TEST_CASE("IniWrite returns false when the key is still absent after the write") {
    TempFolder root;

    SUBCASE("the file is held open by a program that denies writing") {
        WriteFileBytes(root / "a.ini", "[S]\r\nother=1\r\n");
        HANDLE holder = CreateFileA((root / "a.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(holder != INVALID_HANDLE_VALUE);
        bool written = IniWrite("a", "S", "k", "v", root.Path());
        CloseHandle(holder);

        CHECK_FALSE(written);
        CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nother=1\r\n");
    }

    SUBCASE("a folder stands where the file should be") {
        MakeFolders(root / "a.ini\\");
        CHECK(IniExists("a", root.Path()));
        CHECK_FALSE(IniWrite("a", "S", "k", "v", root.Path()));
    }
}

TEST_CASE("IniWrite writes UTF-16 text with its byte-order mark") {
    TempFolder root;
    const std::string utf16NoMark("[\0S\0]\0\r\0\n\0k\0=\0\x31\0\r\0\n\0", 20);
    WriteFileBytes(root / "b.ini", "\xFF\xFE" + utf16NoMark);
    CHECK(IniWrite("b", "S", "other", "2", root.Path()));
    CHECK(IniRead("b", "S", "k", root.Path()) == "1");
}

TEST_CASE(
    "IniWrite writes nothing and returns false when whether the file is there can't be told") {
    TempFolder root;
    WriteFileBytes(root / "a.ini", "[S]\r\nk=old\r\n");
    ImportDouble attributes("KERNEL32.dll", "GetFileAttributesExW",
                            reinterpret_cast<void*>(&DeniedAttributes));
    REQUIRE(attributes.Installed());

    CHECK_FALSE(IniWrite("a", "S", "k", "new", root.Path()));
    CHECK_FALSE(IniWrite("missing", "S", "k", "new", root.Path()));
    FlushLog();

    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nk=old\r\n");
    CHECK_FALSE(FileExists(root / "missing.ini"));
}

TEST_CASE("IniWrite to a read-only file returns true exactly when the file took the value") {
    // Windows refuses the write. Wine maps the attribute onto the Unix permissions, which do not
    // bind a process running as root: there the value is stored. Either way the answer must match
    // the file.
    TempFolder root;
    WriteFileBytes(root / "a.ini", "[S]\r\nother=1\r\n");
    REQUIRE(SetFileAttributesA((root / "a.ini").c_str(), FILE_ATTRIBUTE_READONLY));

    bool written = IniWrite("a", "S", "k", "v", root.Path());
    std::string bytes = ReadFileBytes(root / "a.ini");
    SetFileAttributesA((root / "a.ini").c_str(), FILE_ATTRIBUTE_NORMAL);

    if (written) {
        CHECK(bytes == "[S]\r\nother=1\r\nk=v\r\n");
    } else {
        CHECK(bytes == "[S]\r\nother=1\r\n");
    }
}

TEST_CASE("reads stop at 254 characters so a longer value fails its read-back") {
    TempFolder root;
    std::string fits(254, 'v');
    std::string tooLong = fits + "w";

    CHECK(IniWrite("a", "S", "fits", fits, root.Path()));
    CHECK(IniRead("a", "S", "fits", root.Path()) == fits);

    CHECK_FALSE(IniWrite("a", "S", "long", tooLong, root.Path()));
    // The profile writer stores the whole value; only the read is cut.
    CHECK(ReadFileBytes(root / "a.ini") == "[S]\r\nfits=" + fits + "\r\nlong=" + tooLong + "\r\n");
    CHECK(IniRead("a", "S", "long", root.Path()) == fits);

    WriteFileBytes(root / "b.ini", "[S]\r\nk=" + std::string(300, 'x') + "\r\n");
    CHECK(IniRead("b", "S", "k", root.Path()) == std::string(254, 'x'));
}

TEST_CASE("full paths of 255 characters or more are refused and nothing is written") {
    TempFolder root;
    // root + base name + ".ini": 254 characters fit the path buffer with its zero, 255 do not.
    std::string fitsName(254 - root.Path().size() - 4, 'f');
    std::string longName(255 - root.Path().size() - 4, 'l');
    std::string fitsPath = root / (fitsName + ".ini");
    std::string longPath = root / (longName + ".ini");
    REQUIRE(fitsPath.size() == 254);
    REQUIRE(longPath.size() == 255);

    CHECK(IniWrite(fitsName, "S", "k", "v", root.Path()));
    CHECK(IniRead(fitsName, "S", "k", root.Path()) == "v");
    CHECK(RawRead(fitsPath, "S", "k", "") == "v");

    CHECK_FALSE(IniWrite(longName, "S", "k", "v", root.Path()));
    CHECK_FALSE(FileExists(longPath));

    // Even a file that is there is not read through a path that does not fit.
    WriteFileBytes(longPath, "[S]\r\nk=v\r\n");
    REQUIRE(FileExists(longPath));
    StdoutCapture out;
    bool exists = IniExists(longName, root.Path());
    std::string read = IniRead(longName, "S", "k", root.Path());
    std::string raw = RawRead(longPath, "S", "k", "fallback");
    bool written = IniWrite(longName, "S", "k", "w", root.Path());
    FlushLog();
    std::string printed = out.Finish();

    CHECK_FALSE(exists);
    CHECK(read.empty());
    CHECK(raw.empty());
    CHECK_FALSE(written);
    CHECK(ReadFileBytes(longPath) == "[S]\r\nk=v\r\n");
    CHECK(printed == "IniExists :: Error: the path of " + longName + ".ini is too long.\n");
}
