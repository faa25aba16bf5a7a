#include "sim/record/transcript_output.h"

#include "sim/platform/platform.h"

#include <windows.h>

namespace sim {

namespace {

HANDLE g_output = INVALID_HANDLE_VALUE;
Lock g_lock;

} // namespace

bool OpenTranscriptFile(const std::string& path) {
    g_output = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return g_output != INVALID_HANDLE_VALUE;
}

bool UseStandardOutputForTranscript() {
    HANDLE current = GetStdHandle(STD_OUTPUT_HANDLE);
    if (current == nullptr || current == INVALID_HANDLE_VALUE) {
        return false;
    }
    HANDLE process = GetCurrentProcess();
    return DuplicateHandle(process, current, process, &g_output, 0, FALSE, DUPLICATE_SAME_ACCESS) !=
           FALSE;
}

void WriteTranscriptLine(const std::string& line) {
    Guard guard(g_lock);
    if (g_output == INVALID_HANDLE_VALUE) {
        return;
    }
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        DWORD written = 0;
        if (!WriteFile(g_output, data, static_cast<DWORD>(left), &written, nullptr) ||
            written == 0) {
            return;
        }
        data += written;
        left -= written;
    }
}

} // namespace sim
