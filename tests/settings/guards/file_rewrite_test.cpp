// The settings file's own steps against the file system where a step can't go through: a path
// that can't be converted, a file gone before its rewrite, a write that reports nothing written.
#include "settings/guards/file_rewrite.h"
#include "tests/support/files.h"
#include "tests/support/import_double.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <doctest.h>

using namespace testing;
using settings::RewriteFailure;
using settings::RewriteOutcome;
using settings::TextForm;

namespace {

// The runtime's locale as a program that set it to UTF-8 has it (msvcrt has no UTF-8 locale).
unsigned Utf8Locale() {
    return CP_UTF8;
}

// A write that returns success having written nothing, which would keep a copy loop going.
BOOL WINAPI WritesNothing(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    return TRUE;
}

} // namespace

TEST_CASE("each step refuses a path that can't be converted, and a rewrite of a file that is gone "
          "fails its copy with the open's error") {
    TempFolder root;
    const std::string ansi = root / "caf\xE9.ini"; // e acute in the ANSI code page: no UTF-8
    WriteFileBytes(ansi, "\xEF\xBB\xBF[Settings]\r\n");
    {
        ImportDouble locale("msvcrt.dll", "___lc_codepage_func",
                            reinterpret_cast<void*>(&Utf8Locale));
        REQUIRE(locale.Installed());
        std::string start;
        settings::FileFailure failure;
        CHECK_FALSE(settings::FileStart(ansi, start, failure));
        CHECK(failure.windowsError == ERROR_NO_UNICODE_TRANSLATION);
        settings::RemoveLeftOverTemporary(ansi);
        settings::DiscardTemporary(ansi);
        CHECK(settings::MakeTemporary(ansi).windowsError == ERROR_NO_UNICODE_TRANSLATION);
        CHECK(settings::PlaceTemporary(ansi).failure == RewriteFailure::Replace);
        RewriteOutcome outcome = settings::RewriteFile(ansi, TextForm::Utf8WithMark);
        CHECK(outcome.failure == RewriteFailure::Copy);
        CHECK(outcome.windowsError == ERROR_NO_UNICODE_TRANSLATION);
    }
    CHECK(ReadFileBytes(ansi) == "\xEF\xBB\xBF[Settings]\r\n");
    CHECK(EntriesBelow(root.Path()) == std::vector<std::string>{"caf\xE9.ini"});

    RewriteOutcome gone = settings::RewriteFile(root / "gone.ini", TextForm::Utf16Be);
    CHECK(gone.failure == RewriteFailure::Copy);
    CHECK(gone.windowsError == ERROR_FILE_NOT_FOUND);
    CHECK(EntriesBelow(root.Path()) == std::vector<std::string>{"caf\xE9.ini"});
}

TEST_CASE("a write that reports nothing written fails the rewrite and leaves the file as it was") {
    TempFolder root;
    const std::string file = root / "Helmshroud.ini";
    WriteFileBytes(file, "\xEF\xBB\xBF[Settings]\r\n");
    RewriteOutcome outcome;
    {
        ImportDouble write("KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(&WritesNothing));
        REQUIRE(write.Installed());
        outcome = settings::RewriteFile(file, TextForm::Utf8WithMark);
    }
    CHECK(outcome.failure == RewriteFailure::Copy);
    CHECK(ReadFileBytes(file) == "\xEF\xBB\xBF[Settings]\r\n");
    CHECK(EntriesBelow(root.Path()) == std::vector<std::string>{"Helmshroud.ini"});
}
