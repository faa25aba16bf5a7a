#include "catalogue/log_lines.h"
#include "korv_common/Log.h"
#include "korv_common/log_outputs.h"
#include "korv_common/plugin_name.h"

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
