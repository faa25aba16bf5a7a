// Which existing settings files the profile functions can read.
#include "settings/file_readable.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

using namespace testing;

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
