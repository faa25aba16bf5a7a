#pragma once
// The walk's doubles of the plugin's imports (walked_imports_win32.cpp) and what they ask of the
// walk (call_walk_win32.cpp): the import each replaces, whether the walk counts a call, and
// whether a counted call fails.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

// Every import a walk can count, in the order of kWalkable.
enum Import : std::size_t {
    kMalloc,
    kCalloc,
    kRealloc,
    kStrdup,
    kWcsdup,
    kGetProfileString,
    kWriteProfileString,
    kCreateFileW,
    kCreateFileA,
    kReadFile,
    kWriteFile,
    kFlushFileBuffers,
    kMoveFileExW,
    kDeleteFileW,
    kImportCount
};

struct Walkable {
    const char* dll;
    const char* function;
    void* replacement;
};

// The doubles, in the order of Import.
extern const Walkable kWalkable[kImportCount];

// The plugin's import before the walk replaced it.
void* OriginalImport(Import import);

template <typename F> F Original(Import import) {
    return reinterpret_cast<F>(OriginalImport(import));
}

// Whether the walk counts a call given this file name (null: none), or a handle of this file.
bool CountsName(const wchar_t* name);
bool CountsName(const char* name);
bool CountsHandle(HANDLE file);

// Counts the call when the walk counts it, by the role of its thread; the call's number in the
// walk (from 1) when it is to fail, 0 otherwise.
std::uint32_t FailingCall(bool counted);

// Records that the walk's call-th call fails, with its arguments and the plugin's frames on this
// thread's stack; of a run of failures without end, only the first.
void RecordFailure(std::uint32_t call, const char* function, DWORD lastError,
                   const std::string& arguments);

} // namespace sim
