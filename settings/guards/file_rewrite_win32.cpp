#include "settings/guards/file_rewrite.h"

#include "settings/ini/wide_path.h"

#include <windows.h>

#include <string_view>

namespace settings {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kCopyChunk = 64 * 1024; // on the heap: the settings worker's stack is small

RewriteOutcome Failed(RewriteFailure failure, DWORD error) {
    return {failure, static_cast<std::uint32_t>(error)};
}

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

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        auto size = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(file, bytes.data() + done, size, &wrote, nullptr) || wrote == 0) {
            return false;
        }
        done += wrote;
    }
    return true;
}

// Copies the whole of source through the rewrite into target.
bool Copy(HANDLE source, HANDLE target, ReadableRewrite& rewrite) {
    std::string chunk(kCopyChunk, '\0');
    std::string converted;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(source, chunk.data(), kCopyChunk, &got, nullptr)) {
            return false;
        }
        converted.clear();
        if (got == 0) {
            rewrite.Finish(converted);
            return WriteAll(target, converted);
        }
        rewrite.Convert(std::string_view(chunk.data(), got), converted);
        if (!WriteAll(target, converted)) {
            return false;
        }
    }
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
    unsigned long error = 0;
    bool ok;
    std::wstring temporary;
};

// The temporary file, made whole, takes the file's place in one step; on failure it goes.
RewriteOutcome Moved(const Paths& paths, DWORD flags) {
    if (!MoveFileExW(paths.temporary.c_str(), paths.file.c_str(), flags | MOVEFILE_WRITE_THROUGH)) {
        DWORD moveError = GetLastError();
        DeleteFileW(paths.temporary.c_str());
        return Failed(RewriteFailure::Replace, moveError);
    }
    return {};
}

// Made new, never over anything of that name: what stands there is somebody's.
HANDLE CreateTemporary(const std::wstring& temporary) {
    return CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

RewriteOutcome NoTemporary(const std::wstring& temporary, DWORD error) {
    return {RewriteFailure::NoTemporary, error, IsFolder(temporary)};
}

} // namespace

bool FileStart(const std::string& path, std::string& start, FileFailure& failure) {
    ProfileFile file(path);
    char bytes[3] = {};
    std::size_t got = 0;
    if (!file.Open() || !file.Read(bytes, sizeof bytes, got)) {
        failure = file.Failure();
        return false;
    }
    start.assign(bytes, got);
    return true;
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

RewriteOutcome MakeTemporary(const std::string& path) {
    Paths paths(path);
    if (!paths.ok) {
        return Failed(RewriteFailure::NoTemporary, paths.error);
    }
    Handle made(CreateTemporary(paths.temporary));
    return made.Open() ? RewriteOutcome{} : NoTemporary(paths.temporary, GetLastError());
}

RewriteOutcome PlaceTemporary(const std::string& path) {
    Paths paths(path);
    if (!paths.ok) {
        return Failed(RewriteFailure::Replace, paths.error);
    }
    // The profile writer closed it without flushing it: a power cut now could leave a settings
    // file of zeros that every later run took for the player's.
    Handle written(CreateFileW(paths.temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!written.Open() || !FlushFileBuffers(written.Get())) {
        DWORD flushError = GetLastError();
        written.Close();
        DeleteFileW(paths.temporary.c_str());
        return Failed(RewriteFailure::Copy, flushError);
    }
    written.Close();
    // Not over a file that appeared meanwhile: that one is somebody's, and stays.
    return Moved(paths, 0);
}

void DiscardTemporary(const std::string& path) {
    Paths paths(path);
    if (paths.ok) {
        DeleteFileW(paths.temporary.c_str());
    }
}

RewriteOutcome RewriteFile(const std::string& path, TextForm form) {
    Paths paths(path);
    if (!paths.ok) {
        return Failed(RewriteFailure::Copy, paths.error);
    }
    const std::wstring& wide = paths.file;
    const std::wstring& temporary = paths.temporary;
    // Decided from the file's own mark, not from whether a write would go through: a process
    // running with the rights to ignore the mark must leave the file alone all the same.
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Failed(RewriteFailure::ReadOnly, ERROR_ACCESS_DENIED);
    }
    // Opening with the right to delete fails while another program holds the file without
    // sharing that right, which is what a replacement needs.
    Handle source(CreateFileW(wide.c_str(), GENERIC_READ | DELETE, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source.Open()) {
        DWORD openError = GetLastError();
        return Failed(openError == ERROR_SHARING_VIOLATION ? RewriteFailure::Held
                                                           : RewriteFailure::Copy,
                      openError);
    }

    {
        Handle target(CreateTemporary(temporary));
        if (!target.Open()) {
            return NoTemporary(temporary, GetLastError());
        }
        ReadableRewrite rewrite(form);
        if (!Copy(source.Get(), target.Get(), rewrite) || !FlushFileBuffers(target.Get())) {
            DWORD copyError = GetLastError();
            target.Close();
            DeleteFileW(temporary.c_str());
            return Failed(RewriteFailure::Copy, copyError);
        }
    }
    source.Close();
    return Moved(paths, MOVEFILE_REPLACE_EXISTING);
}

} // namespace settings
