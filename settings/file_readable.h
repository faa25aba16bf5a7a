#pragma once
// Whether the profile functions can read a file that exists.
#include <string>

namespace settings {

// True when the file opens for reading with every kind of sharing allowed. False for a folder of
// that name and for a file another program holds open without sharing reads: the profile functions
// would read every key of those as empty.
bool OpensForReading(const std::string& path);

} // namespace settings
