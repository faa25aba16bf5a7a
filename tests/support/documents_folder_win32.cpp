#include "tests/support/documents_folder.h"

#include <windows.h>

#include <cstring>

namespace testing {

namespace {

std::string g_folder;
HRESULT g_result = S_OK;
DWORD g_lastError = 0;
DocumentsRequest g_request;

HRESULT WINAPI LookUpDocuments(HWND owner, int folderId, HANDLE token, DWORD flags, LPSTR path) {
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
    std::memcpy(path, g_folder.data(), length);
    path[length] = '\0';
    return S_OK;
}

void* Replacement(const std::string& folder, HRESULT result, DWORD lastError) {
    g_folder = folder;
    g_result = result;
    g_lastError = lastError;
    g_request = {};
    return reinterpret_cast<void*>(&LookUpDocuments);
}

} // namespace

DocumentsFolderDouble::DocumentsFolderDouble(const std::string& folder)
    : patch_("SHELL32.dll", "SHGetFolderPathA", Replacement(folder, S_OK, 0)) {}

DocumentsFolderDouble::DocumentsFolderDouble(long result, unsigned long lastError)
    : patch_("SHELL32.dll", "SHGetFolderPathA", Replacement({}, result, lastError)) {}

const DocumentsRequest& DocumentsFolderDouble::Request() {
    return g_request;
}

} // namespace testing
