#pragma once
// The Windows private-profile functions behind plain C++ types: the answers every decision of the
// settings routine rests on.
#include <cstdint>
#include <string>

namespace settings {

// GetPrivateProfileStringA into a zero-filled buffer of kIniValueBufferSize bytes.
std::string ProfileRead(const char* path, const char* section, const char* key,
                        const char* defaultValue);

// WritePrivateProfileStringA: whether Windows took the write, and the Windows error it left.
bool ProfileWrite(const char* path, const char* section, const char* key, const char* value,
                  std::uint32_t& error);

// Whether the profile functions list a section of this name in the file (letter case aside): a
// write of a key into it then goes into that section, rather than into a new one at the end.
bool ProfileListsSection(const char* path, const char* section);

} // namespace settings
