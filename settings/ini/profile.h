#pragma once
// The Windows private-profile functions, and the settings file opened as they open it, behind plain
// C++ types: the answers every decision of the settings routine rests on.
#include <cstddef>
#include <cstdint>
#include <string>

namespace settings {

// GetPrivateProfileStringA into a zero-filled buffer of kIniValueBufferSize bytes.
std::string ProfileRead(const char* path, const char* section, const char* key,
                        const char* defaultValue);

// WritePrivateProfileStringA: whether Windows took the write, and the Windows error it left.
bool ProfileWrite(const char* path, const char* section, const char* key, const char* value,
                  std::uint32_t& error);

// Why a file did not open or read to its end: a folder stands in its place, or a Windows error.
struct FileFailure {
    bool folder = false;
    std::uint32_t windowsError = 0;
};

// A file opened for reading with the sharing the profile functions use: others may read, write and
// delete it meanwhile. A folder does not open, as for them.
class ProfileFile {
  public:
    explicit ProfileFile(const std::string& path);
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    bool Open() const { return handle_ != nullptr; }
    // Reads up to size bytes (at most 4 GiB less one) into bytes; got is 0 at the file's end.
    // False when the read failed.
    bool Read(char* bytes, std::size_t size, std::size_t& got);
    // What kept it from opening, or the last read from going through.
    const FileFailure& Failure() const { return failure_; }

  private:
    void* handle_ = nullptr;
    FileFailure failure_;
};

} // namespace settings
