#include "tests/bad_inputs/bad_input_run.h"

#include "tests/bad_inputs/bad_input.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

namespace testing {

std::vector<std::string> ValuesReadFrom(const std::string& bytes) {
    TempFolder folder;
    const std::string path = folder / "reference.ini";
    WriteFileBytes(path, bytes);
    std::vector<std::string> values(18);
    for (const auto& [name, number] : kKeysInWriteOrder) {
        char value[255] = {};
        GetPrivateProfileStringA("Settings", name, "", value, sizeof value, path.c_str());
        values[static_cast<std::size_t>(number - 1)] = value;
    }
    return values;
}

std::string AfterOneRepairWrite(const std::string& bytes) {
    TempFolder folder;
    const std::string path = folder / "reference.ini";
    WriteFileBytes(path, bytes);
    WritePrivateProfileStringA("Settings", "bDebugMode", "0", path.c_str());
    return ReadFileBytes(path);
}

bool ReadOnlyMarkStopsWrites() {
    TempFolder folder;
    const std::string path = folder / "probe.ini";
    WriteFileBytes(path, "[Probe]\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return file == INVALID_HANDLE_VALUE;
}

} // namespace testing
