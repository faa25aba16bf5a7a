#pragma once
// The settings file on the disk: read once a run into memory, opened as the profile functions open
// it; made anew, or rewritten, through a temporary file beside it that takes its place whole, so
// that a run killed at any moment leaves the old file or the new one, never a cut one. A run
// killed before the step leaves the temporary file, which the next run removes first. (Marking it
// for deletion until it is whole would remove it at once, but Microsoft's documentation allows
// only closing a file's handle once the file is so marked, not writing to it.)
#include "korv_common/plugin_name.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>

namespace settings {

// The temporary file is the settings file's path with this added: a name no player or editor gives
// a file, so that one standing there is the plugin's own. Players see it in the log and readme.
inline constexpr char kTemporarySuffix[] = HELMSHROUD_TEMPORARY_SUFFIX;

// A larger file is not read into memory: its values still go out as the profile functions read
// them, but the plugin neither explains it nor writes into it.
inline constexpr std::size_t kMostRead = 1024 * 1024;

// What a step on the file or its temporary file came to: which step failed, the Windows error it
// gave, and whether a folder stands at the name that step was on.
struct FileStatus {
    enum class Step {
        None,      // every step went through
        Read,      // the file would not open as the profile functions open it, or not read
        ReadOnly,  // the file is marked read-only
        Held,      // another program holds it open and does not let it be replaced
        Changed,   // it changed since it was read
        Temporary, // no new file can be made beside it
        Write,     // writing the new file, or flushing it to the disk, failed
        Place,     // the new file could not take the file's place
    };
    Step failed = Step::None;
    std::uint32_t error = 0;
    bool folder = false;
    bool Ok() const { return failed == Step::None; }
};

// When the file was made and last written, and its size: another program's save changes them.
struct FileStamp {
    std::uint64_t created = 0;
    std::uint64_t written = 0;
    std::uint64_t size = 0;
    bool operator==(const FileStamp& other) const {
        return std::tie(created, written, size) ==
               std::tie(other.created, other.written, other.size);
    }
};

struct SettingsFile {
    std::string bytes;     // the whole file, unless it is too large
    bool tooLarge = false; // over kMostRead bytes: not read
    FileStamp stamp;       // as it was read
};

// Reads the file at path once, as the profile functions open it: others may read, write and delete
// it meanwhile, and a folder does not open.
FileStatus ReadSettingsFile(const std::string& path, SettingsFile& file);

// Removes the temporary file a killed run left beside path, if one is there and could be the
// plugin's: a folder or a read-only file of that name is left alone.
void RemoveLeftOverTemporary(const std::string& path);

// Makes the temporary file beside path, empty, never over anything that stands there.
FileStatus MakeTemporary(const std::string& path);

// Flushes the temporary file beside path to the disk and moves it into path's place, never over a
// file that appeared meanwhile. On failure the temporary file is removed.
FileStatus PlaceTemporary(const std::string& path);

// Removes the temporary file beside path that this run made.
void DiscardTemporary(const std::string& path);

// Replaces the file at path, as `file` was read, by `bytes`. The file is held without sharing its
// writing while the new one is made, and stays as it is when it changed since it was read. On
// failure no temporary file is left.
FileStatus RewriteFile(const std::string& path, const SettingsFile& file, const std::string& bytes);

} // namespace settings
