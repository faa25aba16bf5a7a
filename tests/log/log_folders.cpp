#include "tests/log/log_folders.h"

#include "korv_common/Log.h"

#include <windows.h>

#include <cstdlib>

namespace testing {

const TempFolder& FolderRemovedAtExit() {
    static TempFolder* folder = nullptr;
    if (folder == nullptr) {
        folder = new TempFolder;
        std::atexit([] {
            if (void* log = LogFileHandle()) {
                CloseHandle(log);
            }
            delete folder;
        });
    }
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
