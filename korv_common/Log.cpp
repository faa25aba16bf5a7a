#include "korv_common/Log.h"
#include "korv_common/plugin_name.h"

#include <windows.h>

#include <direct.h>
#include <share.h>
#include <shlobj.h>

#include <cinttypes>
#include <cstdarg>
#include <cstring>
#include <cwchar>
#include <mutex>

namespace {

// One line at most, "\n" and terminating zero included.
constexpr std::size_t kLineBufferSize = 8192;
// Log file below the documents folder; the extender's other plugins log beside it.
constexpr wchar_t kLogBelowDocuments[] = L"\\My Games\\Quorvalen\\KORV\\Logs\\" HELMSHROUD_LOG_NAME;
// A path of MAX_PATH wide characters, as UTF-8 (up to three bytes each).
constexpr std::size_t kShownPathSize = 3 * MAX_PATH + 1;
constexpr int kDocumentsFolderId = CSIDL_PERSONAL; // reported as 5 in the failure line
constexpr int kDocumentsCheckLine = 26;

std::mutex g_lineMutex; // one line at a time, from every thread
char g_line[kLineBufferSize];
std::FILE* g_logFile = nullptr;
std::FILE* g_stdout = nullptr;
bool g_stdoutLookedUp = false;

std::FILE* StandardOutput() {
    if (!g_stdoutLookedUp) {
        g_stdout = stdout;
        g_stdoutLookedUp = true;
    }
    return g_stdout;
}

// Copies first + second into buffer when both fit with the terminating zero; leaves it empty
// otherwise.
bool JoinFits(wchar_t* buffer, std::size_t size, const wchar_t* first, const wchar_t* second) {
    std::size_t a = std::wcslen(first);
    std::size_t b = std::wcslen(second);
    buffer[0] = L'\0';
    if (a + b >= size) {
        return false;
    }
    std::wmemcpy(buffer, first, a);
    std::wmemcpy(buffer + a, second, b + 1);
    return true;
}

// A path as log lines show it: UTF-8, whatever the ANSI code page.
struct ShownPath {
    explicit ShownPath(const wchar_t* path) {
        int length = WideCharToMultiByte(CP_UTF8, 0, path, -1, text, static_cast<int>(sizeof text),
                                         nullptr, nullptr);
        if (length <= 0) {
            text[0] = '\0';
        }
    }
    char text[kShownPathSize];
};

} // namespace

int LogLine(const char* format, ...) {
    std::lock_guard<std::mutex> lock(g_lineMutex);

    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(g_line, kLineBufferSize, format, args);
    va_end(args);
    if (written < 0) {
        g_line[0] = '\0';
    }
    // A line too long for the buffer is cut so that its "\n" still fits.
    std::size_t length = std::strlen(g_line);
    if (length > kLineBufferSize - 2) {
        length = kLineBufferSize - 2;
    }
    g_line[length] = '\n';
    g_line[length + 1] = '\0';

    int result = 0;
    if (g_logFile != nullptr) {
        result = std::fputs(g_line, g_logFile);
    }
    std::FILE* out = StandardOutput();
    if (out == nullptr) {
        return 0;
    }
    result = std::fputs(g_line, out);
    return result;
}

void FlushLog() {
    std::lock_guard<std::mutex> lock(g_lineMutex);
    if (g_logFile != nullptr) {
        std::fflush(g_logFile);
    }
}

std::FILE* LogFile() {
    std::lock_guard<std::mutex> lock(g_lineMutex);
    return g_logFile;
}

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

void AssertionFailed(const char* sourceFile, int line, const char* expression, std::int64_t code) {
    auto bits = static_cast<std::uint64_t>(code);
    if ((bits >> 32) == 0) {
        auto low = static_cast<std::uint32_t>(bits);
        LogLine("Assertion failed in %s (%d): %s (code = %08X (%d))", sourceFile, line, expression,
                low, static_cast<std::int32_t>(low));
    } else {
        LogLine("Assertion failed in %s (%d): %s (code = %16" PRIX64 " (%" PRId64 "))", sourceFile,
                line, expression, bits, code);
    }
}

bool OpenLog() {
    // In wide characters: a documents folder whose name holds letters outside the ANSI code page
    // comes back from the narrow lookup with '?' in their place, a folder that does not exist.
    wchar_t documents[MAX_PATH] = {};
    HRESULT err = SHGetFolderPathW(nullptr, kDocumentsFolderId | CSIDL_FLAG_CREATE, nullptr,
                                   SHGFP_TYPE_CURRENT, documents);
    if (FAILED(err)) {
        DWORD lastError = GetLastError();
        LogLine(
            "Your virus scanner is blocking access to your My Documents folder. SHGetFolderPath "
            "%08X failed (result = %08X lasterr = %08X)",
            static_cast<unsigned>(kDocumentsFolderId), static_cast<unsigned>(err),
            static_cast<unsigned>(lastError));
        AssertionFailed(__FILE__, kDocumentsCheckLine, "SUCCEEDED(err)", err);
        return false;
    }

    wchar_t path[MAX_PATH];
    if (!JoinFits(path, MAX_PATH, documents, kLogBelowDocuments)) {
        LogLine(
            "OpenLog :: Error: the log path below %s is too long. Logging to standard output only.",
            ShownPath(documents).text);
        return true;
    }
    CreatePath(path);
    std::FILE* file = _wfsopen(path, L"w", _SH_DENYWR);
    if (file == nullptr) {
        LogLine("OpenLog :: Error: couldn't open %s. Logging to standard output only.",
                ShownPath(path).text);
        return true;
    }
    std::lock_guard<std::mutex> lock(g_lineMutex);
    g_logFile = file;
    return true;
}
