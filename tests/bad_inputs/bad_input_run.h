#pragma once
// What this program's own profile functions make of a settings file, and whether the read-only
// mark binds it: the platform's answers that the cases and the differential runs are judged by.
#include <string>
#include <vector>

namespace testing {

// The eighteen values, in send order, that this program's profile reads give for a file of these
// bytes: what the platform reads, whichever it is.
std::vector<std::string> ValuesReadFrom(const std::string& bytes);

// The bytes one WritePrivateProfileStringA of bDebugMode=0 into [Settings] makes of a file.
std::string AfterOneRepairWrite(const std::string& bytes);

// Whether the read-only mark on a file keeps this program from opening it for writing. Windows
// says yes; Wine maps the mark onto the Unix permissions, which do not bind a process running as
// root.
bool ReadOnlyMarkStopsWrites();

} // namespace testing
