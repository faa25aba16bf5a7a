#pragma once
// Where the log's tests put the documents folder the log goes below. Each test case runs in a
// process of its own, so each starts with no log open.
#include "tests/support/documents_folder.h"
#include "tests/support/temp_folder.h"

#include <cstddef>
#include <string>

namespace testing {

// The log's path below the documents folder, as players find it.
inline constexpr char kLogBelowDocuments[] = "\\My Games\\Quorvalen\\KORV\\Logs\\Helmshroud.log";

// The log stays open until the process ends, and an open file cannot be deleted: a test that opens
// the log takes its temporary folder from here, which is left in the build's Wine prefix.
const TempFolder& FolderKeptForTheLog();

// root\Documents, made on disk.
std::string MadeDocuments(const TempFolder& root);

// A documents folder path of exactly `length` characters below root (no final backslash, as the
// lookup gives it), made on disk.
std::string DocumentsOfLength(const TempFolder& root, std::size_t length);

// root\Documents below the folder removed at exit, made on disk, and the documents-folder lookup
// yielding it for the life of the object.
struct LogDocuments {
    const TempFolder& root = FolderKeptForTheLog();
    std::string folder = MadeDocuments(root);
    DocumentsFolderDouble lookup{folder};

    // The log file's path below it.
    std::string Log() const { return folder + kLogBelowDocuments; }
};

} // namespace testing
