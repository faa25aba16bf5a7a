#pragma once
// Narrow file names as the Windows file functions take them, in wide characters, and what stands
// at one.
#include <string>

namespace settings {

// path in wide characters, converted from the code page narrow file names are in; false, with the
// Windows error in error, when it holds bytes that code page does not have.
bool ToWidePath(const std::string& path, std::wstring& wide, unsigned long& error);

// Whether a folder stands at the wide path.
bool IsFolder(const std::wstring& path);

} // namespace settings
