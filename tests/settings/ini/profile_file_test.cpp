// The settings file opened as the profile functions open it: before the reads (its first bytes)
// and after them (the scan). Each refusal carries the platform's own answer.
#include "settings/diagnostics/settings_scan.h"
#include "settings/guards/file_rewrite.h"
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

// Whether the file's first bytes can be had, and the failure when not.
settings::FileFailure StartFailure(const std::string& path, bool& opened) {
    std::string start;
    settings::FileFailure failure;
    opened = settings::FileStart(path, start, failure);
    return failure;
}

} // namespace

TEST_CASE("a file opens as the profile functions open it unless a folder stands there, it is "
          "missing, or another program holds it without sharing reads, and each refusal says "
          "why") {
    TempFolder root;
    const std::string file = root / "a.ini";
    WriteFileBytes(file, "[S]\r\nk=v\r\n");
    bool opened = false;
    StartFailure(file, opened);
    CHECK(opened);

    MakeFolders(root / "folder.ini\\");
    settings::FileFailure failure = StartFailure(root / "folder.ini", opened);
    CHECK_FALSE(opened);
    CHECK(failure.folder);
    failure = StartFailure(root / "missing.ini", opened);
    CHECK_FALSE(opened);
    CHECK_FALSE(failure.folder);
    CHECK(failure.windowsError == ERROR_FILE_NOT_FOUND);

    struct Holder {
        const char* what;
        DWORD access;
        DWORD share;
        bool opens;
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
        failure = StartFailure(file, opened);
        CHECK(opened == holder.opens);
        CHECK(failure.windowsError == (holder.opens ? 0u : DWORD{ERROR_SHARING_VIOLATION}));
        CloseHandle(held);
    }
}

TEST_CASE("a file whose reading fails after it opened is neither started nor scanned, the Windows "
          "error is kept, and the scan is left as it was") {
    TempFolder root;
    const std::string file = root / "a.ini";
    WriteFileBytes(file, "iIsWeaponDrawn=1\r\n");
    settings::SettingsScan scan;
    scan.moreUnknownKeys = 7;
    settings::FileFailure failure;
    CHECK_FALSE(settings::ScanSettingsFile(root / "missing.ini", scan, failure));
    CHECK(failure.windowsError == ERROR_FILE_NOT_FOUND);

    // A range another program locked, as Windows answers it (Wine lets such a read through).
    ImportDouble failingRead("KERNEL32.dll", "ReadFile", reinterpret_cast<void*>(&LockedRead));
    REQUIRE(failingRead.Installed());
    failure = {};
    CHECK_FALSE(settings::ScanSettingsFile(file, scan, failure));
    CHECK(failure.windowsError == ERROR_LOCK_VIOLATION);
    CHECK(scan.moreUnknownKeys == 7);
    bool opened = true;
    CHECK(StartFailure(file, opened).windowsError == ERROR_LOCK_VIOLATION);
    CHECK_FALSE(opened);
}
