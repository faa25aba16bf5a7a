// The log's system part on Windows: the log file's opening below the documents folder, the writer
// threads and their writes, the clock, and the slim lock.
#include "catalogue/log_lines.h"
#include "korv_common/Log.h"
#include "korv_common/log_system.h"
#include "korv_common/plugin_name.h"
#include "korv_common/slim_lock.h"

#include <windows.h>

#include <direct.h>
#include <io.h>
#include <share.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <iterator>

namespace {

// Log file below the documents folder; the extender's other plugins log beside it.
constexpr wchar_t kLogBelowDocuments[] = L"\\My Games\\Quorvalen\\KORV\\Logs\\" HELMSHROUD_LOG_NAME;
// A path of MAX_PATH wide characters, as UTF-8 (up to three bytes each).
constexpr std::size_t kShownPathSize = 3 * MAX_PATH + 1;
constexpr int kDocumentsFolderId = CSIDL_PERSONAL; // reported as 5 in the failure line

// A path as log lines show it: UTF-8, whatever the ANSI code page.
struct ShownPath {
    // The text has room for any path Windows takes, and its last byte is never written: it ends
    // with a zero whatever the conversion does.
    explicit ShownPath(const wchar_t* path) {
        WideCharToMultiByte(CP_UTF8, 0, path, -1, text, static_cast<int>(sizeof text) - 1, nullptr,
                            nullptr);
    }
    char text[kShownPathSize + 1] = {};
};

// Truncated or created, written by this process alone and read by anyone. The stream stays open
// for the process's life, but the log writes through its Windows handle alone (and makes the CR LF
// line ends itself), so that no write waits on the runtime's stream lock.
HANDLE OpenLogFile(const wchar_t* path) {
    std::FILE* stream = _wfsopen(path, L"w", _SH_DENYWR);
    if (stream == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

} // namespace

void CreatePath(const wchar_t* path) {
    wchar_t folder[MAX_PATH];
    std::size_t length = std::wcslen(path);
    for (std::size_t i = 1; i < length; ++i) {
        if (path[i] != L'\\' && path[i] != L'/') {
            continue;
        }
        // A folder name longer than any Windows path cannot exist; it is not tried.
        if (i >= MAX_PATH) {
            return;
        }
        std::wmemcpy(folder, path, i);
        folder[i] = L'\0';
        _wmkdir(folder);
    }
}

bool OpenLog() {
    // A writer that can't be started now is started again by the next FlushLog.
    korv::log::StartStdoutWriter();

    // In wide characters: a documents folder whose name holds letters outside the ANSI code page
    // comes back from the narrow lookup with '?' in their place, a folder that does not exist.
    wchar_t documents[MAX_PATH] = {};
    HRESULT err = SHGetFolderPathW(nullptr, kDocumentsFolderId | CSIDL_FLAG_CREATE, nullptr,
                                   SHGFP_TYPE_CURRENT, documents);
    if (FAILED(err)) {
        korv::log::ReportDocumentsFolderFailure(kDocumentsFolderId, err, GetLastError());
        return false;
    }

    wchar_t path[MAX_PATH];
    std::size_t length = std::wcslen(documents);
    if (length + std::size(kLogBelowDocuments) > MAX_PATH) {
        LogLineNoWait(lines::kLogPathTooLong, ShownPath(documents).text);
        return true;
    }
    std::wmemcpy(path, documents, length);
    std::wmemcpy(path + length, kLogBelowDocuments, std::size(kLogBelowDocuments));
    CreatePath(path);
    HANDLE file = OpenLogFile(path);
    if (file == INVALID_HANDLE_VALUE) {
        LogLineNoWait(lines::kLogNotOpened, ShownPath(path).text);
        return true;
    }
    korv::log::UseLogFile(file);
    return true;
}

namespace korv::log {

namespace {

DWORD WINAPI Writer(LPVOID parameter) {
    RunWriter(*static_cast<Output*>(parameter));
}

// The writers run this module's code for the life of the process: it must never be unloaded.
void PinThisModule() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&PinThisModule), &self);
}

} // namespace

bool StartWriter(Output& output) {
    if (output.running.load()) {
        return true;
    }
    // The wake-up is made once and kept: a wake before the thread runs leaves it set, and the
    // thread writes what was queued as soon as it starts.
    if (output.wake.load() == nullptr) {
        output.wake.store(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (output.wake.load() == nullptr) {
            return false;
        }
    }
    PinThisModule();
    HANDLE thread = CreateThread(nullptr, 0, &Writer, &output, 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    CloseHandle(thread);
    output.running.store(true);
    return true;
}

void Wake(Output& output) {
    SetEvent(output.wake.load());
}

void WaitForWake(Output& output, unsigned timeoutMs) {
    WaitForSingleObject(output.wake.load(), timeoutMs);
}

std::size_t WriteToFile(void* file, const char* bytes, std::size_t size, std::uint32_t& error) {
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(file), bytes, static_cast<DWORD>(size), &written, nullptr)) {
        error = GetLastError();
    } else if (written == 0) {
        error = ERROR_WRITE_FAULT; // took nothing, and said nothing of why
    }
    return written;
}

std::size_t WriteToStdout(void* /*unused*/, const char* bytes, std::size_t size,
                          std::uint32_t& /*error*/) {
    std::fwrite(bytes, 1, size, stdout);
    return size;
}

std::optional<std::uint64_t> FileSize(void* file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(static_cast<HANDLE>(file), &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::uint64_t NowMs() {
    return GetTickCount64();
}

void PauseMs(unsigned ms) {
    Sleep(ms);
}

} // namespace korv::log

namespace korv {

static_assert(sizeof(SRWLOCK) == sizeof(void*));

void SlimLock::Acquire() {
    AcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&state_));
}

void SlimLock::Release() {
    ReleaseSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&state_));
}

bool SlimLock::TryAcquire() {
    return TryAcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&state_)) != FALSE;
}

} // namespace korv
