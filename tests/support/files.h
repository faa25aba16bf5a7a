#pragma once
// Small file helpers for tests, over the Windows file functions.
#include <string>
#include <vector>

namespace testing {

bool FileExists(const std::string& path); // a file or a folder
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void MakeFolders(const std::string& path); // every folder of path, which ends with a backslash
// Every entry below folder (which ends with a backslash), as paths relative to it and sorted;
// folders end with a backslash.
std::vector<std::string> EntriesBelow(const std::string& folder);
std::vector<std::string> SplitLines(const std::string& text, const std::string& separator);

} // namespace testing
