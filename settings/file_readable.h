#pragma once
// What the profile functions can make of a file that exists.
#include <string>

namespace settings {

// True when the file opens for reading with every kind of sharing allowed. False for a folder of
// that name and for a file another program holds open without sharing reads: the profile functions
// would read every key of those as empty.
bool OpensForReading(const std::string& path);

// True when the file holds a NUL byte and does not begin with a UTF-16 byte-order mark, and when it
// cannot be opened or read to its end (a write must then leave it alone). The profile functions end
// such a line at its NUL byte, so a rewrite by the profile writer drops the rest of it: UTF-16 text
// saved without its mark loses every line.
bool HoldsNulOutsideUtf16(const std::string& path);

} // namespace settings
