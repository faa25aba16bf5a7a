// The settings file's steps against the file system: its one reading, opened as the profile
// functions open it, and its rewrite, each refusal carrying the platform's own answer.
#include "settings/file/settings_file.h"
#include "tests/support/files.h"
#include "tests/support/import_double.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

using namespace testing;
using settings::FileStatus;
using Step = FileStatus::Step;

namespace {

// The runtime's locale as a program that set it to UTF-8 has it (msvcrt has no UTF-8 locale).
unsigned Utf8Locale() {
    return CP_UTF8;
}

// A range another program locked, as Windows answers it (Wine lets such a read through).
BOOL WINAPI LockedRead(HANDLE, LPVOID, DWORD, LPDWORD read, LPOVERLAPPED) {
    *read = 0;
    SetLastError(ERROR_LOCK_VIOLATION);
    return FALSE;
}

// A write that returns success having written nothing, which would keep a copy loop going.
BOOL WINAPI WritesNothing(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    return TRUE;
}

FileStatus Read(const std::string& path, settings::SettingsFile& file) {
    file = {};
    return settings::ReadSettingsFile(path, file);
}

} // namespace

TEST_CASE("the file is read whole as the profile functions open it, unless a folder stands there, "
          "it is missing, another program holds it without sharing reads, or it is over 1 MiB, "
          "and each refusal says why") {
    TempFolder root;
    const std::string file = root / "a.ini";
    WriteFileBytes(file, "[S]\r\nk=v\r\n");
    settings::SettingsFile read;
    CHECK(Read(file, read).Ok());
    CHECK(read.bytes == "[S]\r\nk=v\r\n");

    MakeFolders(root / "folder.ini\\");
    FileStatus status = Read(root / "folder.ini", read);
    CHECK(status.failed == Step::Read);
    CHECK(status.folder);
    status = Read(root / "missing.ini", read);
    CHECK_FALSE(status.folder);
    CHECK(status.error == ERROR_FILE_NOT_FOUND);

    struct Holder {
        const char* what;
        DWORD access;
        DWORD share;
        bool reads;
    };
    for (const Holder& holder : {
             Holder{"writing, sharing reads", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, true},
             Holder{"reading, sharing nothing", GENERIC_READ, 0, false},
             Holder{"deleting, sharing everything", DELETE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
             Holder{"writing, sharing nothing", GENERIC_WRITE, 0, false},
         }) {
        CAPTURE(holder.what);
        HANDLE held = CreateFileA(file.c_str(), holder.access, holder.share, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        REQUIRE(held != INVALID_HANDLE_VALUE);
        status = Read(file, read);
        CHECK(status.Ok() == holder.reads);
        CHECK(status.error == (holder.reads ? 0u : DWORD{ERROR_SHARING_VIOLATION}));
        CloseHandle(held);
    }

    WriteFileBytes(file, std::string(settings::kMostRead, 'x'));
    CHECK(Read(file, read).Ok());
    CHECK(read.bytes.size() == settings::kMostRead);
    WriteFileBytes(file, std::string(settings::kMostRead + 1, 'x'));
    CHECK(Read(file, read).Ok());
    CHECK(read.tooLarge);
    CHECK(read.bytes.empty());
}

TEST_CASE("a read that fails once the file opened, and a path that can't be converted, fail every "
          "step with the Windows error, and leave nothing behind") {
    TempFolder root;
    const std::string ansi = root / "caf\xE9.ini"; // e acute in the ANSI code page: no UTF-8
    WriteFileBytes(ansi, "\xEF\xBB\xBF[Settings]\r\n");
    settings::SettingsFile read;
    {
        ImportDouble locked("KERNEL32.dll", "ReadFile", reinterpret_cast<void*>(&LockedRead));
        REQUIRE(locked.Installed());
        CHECK(Read(ansi, read).error == ERROR_LOCK_VIOLATION);
    }
    {
        ImportDouble locale("msvcrt.dll", "___lc_codepage_func",
                            reinterpret_cast<void*>(&Utf8Locale));
        REQUIRE(locale.Installed());
        CHECK(Read(ansi, read).error == ERROR_NO_UNICODE_TRANSLATION);
        settings::RemoveLeftOverTemporary(ansi);
        settings::DiscardTemporary(ansi);
        CHECK(settings::MakeTemporary(ansi).error == ERROR_NO_UNICODE_TRANSLATION);
        CHECK(settings::PlaceTemporary(ansi).failed == Step::Place);
        CHECK(settings::RewriteFile(ansi, read, "[Settings]\r\n").error ==
              ERROR_NO_UNICODE_TRANSLATION);
    }
    CHECK(ReadFileBytes(ansi) == "\xEF\xBB\xBF[Settings]\r\n");
    CHECK(EntriesBelow(root.Path()) == std::vector<std::string>{"caf\xE9.ini"});
}

TEST_CASE("a rewrite replaces the file only as it was read: one changed since, one gone, and a "
          "write that reports nothing written leave the file as it is and no temporary file") {
    TempFolder root;
    const std::string file = root / "Helmshroud.ini";
    WriteFileBytes(file, "\xEF\xBB\xBF[Settings]\r\n");
    settings::SettingsFile read;
    REQUIRE(Read(file, read).Ok());
    {
        ImportDouble write("KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(&WritesNothing));
        REQUIRE(write.Installed());
        CHECK(settings::RewriteFile(file, read, "[Settings]\r\n").failed == Step::Write);
    }
    WriteFileBytes(file, "\xEF\xBB\xBF[Settings]\r\nbDebugMode=1\r\n"); // the player saved
    CHECK(settings::RewriteFile(file, read, "[Settings]\r\n").failed == Step::Changed);
    CHECK(ReadFileBytes(file) == "\xEF\xBB\xBF[Settings]\r\nbDebugMode=1\r\n");
    CHECK(settings::RewriteFile(root / "gone.ini", read, "").error == ERROR_FILE_NOT_FOUND);
    CHECK(EntriesBelow(root.Path()) == std::vector<std::string>{"Helmshroud.ini"});

    REQUIRE(Read(file, read).Ok());
    CHECK(settings::RewriteFile(file, read, "[Settings]\r\nbDebugMode=1\r\n").Ok());
    CHECK(ReadFileBytes(file) == "[Settings]\r\nbDebugMode=1\r\n");
}
