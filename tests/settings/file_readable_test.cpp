// Which existing settings files the profile functions can read, and the scan that looks into them.
#include "settings/diagnostics/settings_scan.h"
#include "settings/file_readable.h"
#include "tests/support/files.h"
#include "tests/support/import_double.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

using namespace testing;

namespace {

BOOL WINAPI LockedRead(HANDLE, LPVOID, DWORD, LPDWORD read, LPOVERLAPPED) {
    if (read != nullptr) {
        *read = 0;
    }
    SetLastError(ERROR_LOCK_VIOLATION);
    return FALSE;
}

} // namespace

TEST_CASE("a file opens for reading unless it is a folder, missing, or held open without sharing "
          "reads") {
    TempFolder root;
    const std::string file = root / "a.ini";
    WriteFileBytes(file, "[S]\r\nk=v\r\n");
    CHECK(settings::OpensForReading(file));

    MakeFolders(root / "folder.ini\\");
    CHECK_FALSE(settings::OpensForReading(root / "folder.ini"));
    CHECK_FALSE(settings::OpensForReading(root / "missing.ini"));

    SUBCASE("held open for writing, sharing reads") {
        HANDLE holder = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(holder != INVALID_HANDLE_VALUE);
        CHECK(settings::OpensForReading(file));
        CloseHandle(holder);
    }
    SUBCASE("held open with no sharing") {
        HANDLE holder =
            CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(holder != INVALID_HANDLE_VALUE);
        CHECK_FALSE(settings::OpensForReading(file));
        CloseHandle(holder);
    }
    SUBCASE("marked read-only") {
        REQUIRE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
        CHECK(settings::OpensForReading(file));
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_CASE("NUL bytes count only outside UTF-16 with its byte-order mark, and a file that can't be "
          "opened or read to its end counts as holding them") {
    TempFolder root;
    const std::string file = root / "a.ini";
    auto holds = [&](const std::string& bytes) {
        WriteFileBytes(file, bytes);
        return settings::HoldsNulOutsideUtf16(file);
    };
    CHECK_FALSE(holds(""));
    CHECK_FALSE(holds("[S]\r\nk=v\r\n"));
    CHECK(holds(std::string("[S]\r\nk=v\0w\r\n", 11)));
    CHECK(holds(std::string("[\0S\0]\0", 6)));                   // UTF-16 LE without its mark
    CHECK(holds(std::string("\0[\0S\0]", 6)));                   // UTF-16 BE without its mark
    CHECK_FALSE(holds(std::string("\xFF\xFE[\0S\0]\0", 8)));     // UTF-16 LE
    CHECK_FALSE(holds(std::string("\xFE\xFF\0[\0S\0]", 8)));     // UTF-16 BE
    CHECK(holds(std::string("\xEF\xBB\xBF[S]\0", 7)));           // UTF-8
    CHECK(holds(std::string(5000, 'x') + std::string(1, '\0'))); // past the first chunk

    CHECK(settings::HoldsNulOutsideUtf16(root / "missing.ini"));
    MakeFolders(root / "folder.ini\\");
    CHECK(settings::HoldsNulOutsideUtf16(root / "folder.ini"));

    // It opens, but reading it fails: a range another program locked, as Windows answers it
    // (Wine lets such a read through), or an I/O error.
    WriteFileBytes(file, "[S]\r\nk=v\r\n");
    ImportDouble failingRead("KERNEL32.dll", "ReadFile", reinterpret_cast<void*>(&LockedRead));
    REQUIRE(failingRead.Installed());
    CHECK(settings::OpensForReading(file));
    CHECK(settings::HoldsNulOutsideUtf16(file));
}

TEST_CASE("a settings file that can't be opened or read to its end is not scanned, and the scan "
          "is left as it was") {
    TempFolder root;
    const std::string file = root / "a.ini";
    WriteFileBytes(file, "iIsWeaponDrawn=1\r\n"); // a setting outside any section
    settings::SettingsScan scan;
    scan.moreUnknownKeys = 7;
    CHECK_FALSE(settings::ScanSettingsFile(root / "missing.ini", scan));
    ImportDouble failingRead("KERNEL32.dll", "ReadFile", reinterpret_cast<void*>(&LockedRead));
    REQUIRE(failingRead.Installed());
    CHECK_FALSE(settings::ScanSettingsFile(file, scan));
    CHECK(scan.moreUnknownKeys == 7);
}
