#pragma once
// The Windows private-profile functions, behind plain C++ types.
#include <string>

namespace settings {

// GetPrivateProfileStringA into a zero-filled buffer of kIniValueBufferSize bytes.
std::string ProfileRead(const char* path, const char* section, const char* key,
                        const char* defaultValue);

// WritePrivateProfileStringA; false when Windows refused the write.
bool ProfileWrite(const char* path, const char* section, const char* key, const char* value);

} // namespace settings
