#include "tests/log/log_folders.h"

#include <windows.h>

namespace testing {

const TempFolder& FolderKeptForTheLog() {
    static const TempFolder* folder = new TempFolder; // never removed
    return *folder;
}

std::string MadeDocuments(const TempFolder& root) {
    std::string folder = root / "Documents";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string DocumentsOfLength(const TempFolder& root, std::size_t length) {
    std::string folder = root / std::string(length - root.Path().size(), 'd');
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

} // namespace testing
