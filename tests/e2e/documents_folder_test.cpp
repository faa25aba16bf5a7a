// The plugin's log in a documents folder that Windows gives it itself: the folder the Wine prefix's
// shell-folder keys name, as a player's profile names theirs. These tests change the prefix's
// registry for their run, so ctest runs them alone.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <windows.h>

#include <doctest.h>

#include <string>

using namespace testing;

namespace {

constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Points the user's documents folder (the shell folder "Personal") at another folder while it
// lives, and puts back what was there.
class DocumentsFolderSetting {
  public:
    explicit DocumentsFolderSetting(const std::wstring& folder) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = sizeof previous_;
        had_ = RegQueryValueExW(key_, L"Personal", nullptr, &type_,
                                reinterpret_cast<BYTE*>(previous_), &size) == ERROR_SUCCESS;
        previousSize_ = size;
        auto bytes = static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t));
        set_ =
            RegSetValueExW(key_, L"Personal", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(folder.c_str()), bytes) == ERROR_SUCCESS;
    }
    ~DocumentsFolderSetting() {
        if (key_ == nullptr) {
            return;
        }
        if (had_) {
            RegSetValueExW(key_, L"Personal", 0, type_, reinterpret_cast<const BYTE*>(previous_),
                           previousSize_);
        } else {
            RegDeleteValueW(key_, L"Personal");
        }
        RegCloseKey(key_);
    }
    DocumentsFolderSetting(const DocumentsFolderSetting&) = delete;
    DocumentsFolderSetting& operator=(const DocumentsFolderSetting&) = delete;

    bool Set() const { return set_; }

  private:
    HKEY key_ = nullptr;
    bool had_ = false;
    bool set_ = false;
    DWORD type_ = REG_SZ;
    wchar_t previous_[MAX_PATH] = {};
    DWORD previousSize_ = 0;
};

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string ReadWideNamedFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return bytes;
}

} // namespace

TEST_CASE("a documents folder whose name has letters outside the ANSI code page gets the log, as "
          "Windows gives the folder") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    // "Юрий": no Western code page has these letters, so the narrow lookup would give "????".
    const std::wstring documents = Wide(game.Documents()) + L"docs-\u042E\u0440\u0438\u0439";
    // Made here, as Windows makes a profile's: Wine would make a missing one a link to the home
    // folder.
    REQUIRE(CreateDirectoryW(documents.c_str(), nullptr));
    REQUIRE(CreateDirectoryW((documents + L"\\Documents").c_str(), nullptr));
    DocumentsFolderSetting setting(documents + L"\\Documents");
    REQUIRE(setting.Set());
    game.UseWindowsDocuments();

    SimulatorRun run = game.Run({"--expect-commands", "18"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());
    CHECK(transcript.Commands().size() == 18);
    const std::string expected =
        "KORVPlugin_Load!\r\n"
        "KORVPlugin_HandleOnLoad_PostDataLoad!\r\n"
        "QELLoadGameEvent :: Info: Event received.\r\n"
        "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.\r\n"
        "Install_Helmshroud :: Info: Called SendIniData.\r\n";
    CHECK(ReadWideNamedFile(documents +
                            L"\\Documents\\My Games\\Quorvalen\\KORV\\Logs\\Helmshroud.log") ==
          expected);
    CHECK(transcript.StdoutLines() == SplitLines(expected, "\r\n"));
}
