#include "settings/file/settings_file.h"

#include "settings/ini/file_presence.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

namespace settings {

namespace {

using Step = FileStatus::Step;

constexpr std::size_t kChunk = 64 * 1024; // on the heap: the settings worker's stack is small

FileStatus Failed(Step step, DWORD error = GetLastError()) {
    return {step, static_cast<std::uint32_t>(error)};
}

// Owns one handle of a file, and closes it.
class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool Open() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    void Close() {
        if (Open()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

  private:
    HANDLE handle_;
};

std::uint64_t Joined(DWORD high, DWORD low) {
    return (std::uint64_t{high} << 32) | low;
}

// A query that fails gives a stamp no file has.
FileStamp StampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return {Joined(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime),
            Joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
            Joined(data.nFileSizeHigh, data.nFileSizeLow)};
}

// The file's path in wide characters, and its temporary file's beside it. The suffix is ASCII,
// which converts to the same characters from every code page narrow file names may be in.
struct Paths {
    explicit Paths(const std::string& path) : ok(ToWidePath(path, file, error)) {
        temporary = file;
        for (char c : std::string_view(kTemporarySuffix)) {
            temporary += static_cast<wchar_t>(c);
        }
    }
    std::wstring file;
    std::wstring temporary;
    unsigned long error = 0;
    bool ok;
};

// Made new, never over anything of that name: what stands there is somebody's.
HANDLE CreateTemporary(const Paths& paths) {
    return CreateFileW(paths.temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

FileStatus NoTemporary(const Paths& paths) {
    FileStatus status = Failed(Step::Temporary);
    status.folder = IsFolder(paths.temporary);
    return status;
}

// Writes the bytes and flushes them to the disk; on failure the temporary file goes.
FileStatus WrittenWhole(const Paths& paths, Handle& temporary, const std::string& bytes) {
    bool written = temporary.Open();
    for (std::size_t done = 0; written && done < bytes.size();) {
        DWORD wrote = 0;
        auto size = static_cast<DWORD>(bytes.size() - done);
        written =
            WriteFile(temporary.Get(), bytes.data() + done, size, &wrote, nullptr) && wrote > 0;
        done += wrote;
    }
    if (written && FlushFileBuffers(temporary.Get())) {
        temporary.Close();
        return {};
    }
    FileStatus status = Failed(Step::Write);
    temporary.Close();
    DeleteFileW(paths.temporary.c_str());
    return status;
}

// The temporary file, whole, takes the file's place in one step; on failure it goes.
FileStatus Moved(const Paths& paths, DWORD flags) {
    if (MoveFileExW(paths.temporary.c_str(), paths.file.c_str(), flags | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    FileStatus status = Failed(Step::Place);
    DeleteFileW(paths.temporary.c_str());
    return status;
}

} // namespace

FileStatus ReadSettingsFile(const std::string& path, SettingsFile& file) {
    Paths paths(path);
    if (!paths.ok) {
        return Failed(Step::Read, paths.error);
    }
    // The profile functions open the file so: Wine's PROFILE_Open shares every right, and
    // test_profile_existing of its conformance tests shows Windows reading a file others hold
    // open for writing.
    Handle read(CreateFileW(paths.file.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!read.Open()) {
        FileStatus status = Failed(Step::Read);
        status.folder = IsFolder(paths.file);
        return status;
    }
    // Taken before the bytes: a save after it changes the stamp, whichever bytes were read.
    file.stamp = StampOf(paths.file);
    // Asked for a byte more than it holds, a file reads to its end in one read, unless it grew
    // meanwhile; a read that takes less than it was asked for is at the end.
    std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(file.stamp.size, kMostRead)) + 1;
    for (std::size_t at = 0; at <= kMostRead; at = file.bytes.size(), want = kChunk) {
        file.bytes.resize(at + want);
        DWORD got = 0;
        if (!ReadFile(read.Get(), file.bytes.data() + at, static_cast<DWORD>(want), &got,
                      nullptr)) {
            return Failed(Step::Read);
        }
        file.bytes.resize(at + got);
        if (got < want) {
            return {};
        }
    }
    file.bytes = {};
    file.tooLarge = true;
    return {};
}

void RemoveLeftOverTemporary(const std::string& path) {
    Paths paths(path);
    // The plugin makes a plain file that can be written; anything else of that name is not its.
    DWORD attributes = GetFileAttributesW(paths.temporary.c_str());
    if (paths.ok && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0) {
        DeleteFileW(paths.temporary.c_str());
    }
}

FileStatus MakeTemporary(const std::string& path) {
    Paths paths(path);
    if (!paths.ok) {
        return Failed(Step::Temporary, paths.error);
    }
    Handle made(CreateTemporary(paths));
    return made.Open() ? FileStatus{} : NoTemporary(paths);
}

FileStatus PlaceTemporary(const std::string& path) {
    Paths paths(path);
    if (!paths.ok) {
        return Failed(Step::Place, paths.error);
    }
    // The profile writer closed it without flushing it: a power cut now could leave a settings
    // file of zeros that every later run took for the player's. Not moved over a file that
    // appeared meanwhile: that one is somebody's, and stays.
    Handle written(CreateFileW(paths.temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FileStatus flushed = WrittenWhole(paths, written, {});
    return flushed.Ok() ? Moved(paths, 0) : flushed;
}

void DiscardTemporary(const std::string& path) {
    Paths paths(path);
    if (paths.ok) {
        DeleteFileW(paths.temporary.c_str());
    }
}

FileStatus RewriteFile(const std::string& path, const SettingsFile& file,
                       const std::string& bytes) {
    Paths paths(path);
    if (!paths.ok) {
        return Failed(Step::Write, paths.error);
    }
    // Decided from the file's own mark, not from whether a write would go through: a process
    // running with the rights to ignore the mark must leave the file alone all the same.
    DWORD attributes = GetFileAttributesW(paths.file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Failed(Step::ReadOnly, ERROR_ACCESS_DENIED);
    }
    // Held without sharing its writing while the new file is made, so that no save of the player's
    // falls in between; asking for the right to delete fails while another program holds it
    // without sharing that right, which the replacement needs.
    Handle source(CreateFileW(paths.file.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source.Open()) {
        DWORD error = GetLastError();
        return Failed(error == ERROR_SHARING_VIOLATION ? Step::Held : Step::Write, error);
    }
    Handle target(CreateTemporary(paths));
    if (!target.Open()) {
        return NoTemporary(paths);
    }
    if (FileStatus written = WrittenWhole(paths, target, bytes); !written.Ok()) {
        return written;
    }
    // Windows replaces no file that is open: it is let go, and replaced only as it was read. A
    // save made since the read changed its stamp.
    source.Close();
    if (StampOf(paths.file) != file.stamp) {
        DeleteFileW(paths.temporary.c_str());
        return Failed(Step::Changed, 0);
    }
    return Moved(paths, MOVEFILE_REPLACE_EXISTING);
}

} // namespace settings
