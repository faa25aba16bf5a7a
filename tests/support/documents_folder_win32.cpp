#include "tests/support/documents_folder.h"

#include <windows.h>

#include <cwchar>

namespace testing {

namespace {

std::wstring g_folder;
HRESULT g_result = S_OK;
DWORD g_lastError = 0;
DocumentsRequest g_request;

HRESULT WINAPI LookUpDocuments(HWND owner, int folderId, HANDLE token, DWORD flags, LPWSTR path) {
    ++g_request.calls;
    g_request.ownerNull = owner == nullptr;
    g_request.folderId = folderId;
    g_request.tokenNull = token == nullptr;
    g_request.flags = flags;
    if (FAILED(g_result)) {
        SetLastError(g_lastError);
        return g_result;
    }
    std::size_t length = g_folder.size() < MAX_PATH ? g_folder.size() : MAX_PATH - 1;
    std::wmemcpy(path, g_folder.data(), length);
    path[length] = L'\0';
    return S_OK;
}

void* Replacement(const std::string& folder, HRESULT result, DWORD lastError) {
    // The tests' folders are in the ANSI code page, as the narrow file functions take them.
    int length =
        MultiByteToWideChar(CP_ACP, 0, folder.data(), static_cast<int>(folder.size()), nullptr, 0);
    g_folder.assign(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, folder.data(), static_cast<int>(folder.size()), g_folder.data(),
                        length);
    g_result = result;
    g_lastError = lastError;
    g_request = {};
    return reinterpret_cast<void*>(&LookUpDocuments);
}

} // namespace

DocumentsFolderDouble::DocumentsFolderDouble(const std::string& folder)
    : patch_("SHELL32.dll", "SHGetFolderPathW", Replacement(folder, S_OK, 0)) {}

DocumentsFolderDouble::DocumentsFolderDouble(long result, unsigned long lastError)
    : patch_("SHELL32.dll", "SHGetFolderPathW", Replacement({}, result, lastError)) {}

const DocumentsRequest& DocumentsFolderDouble::Request() {
    return g_request;
}

} // namespace testing
