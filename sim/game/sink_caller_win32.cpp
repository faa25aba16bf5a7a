#include "sim/game/sink_caller.h"

#include <windows.h>

namespace sim {

namespace {

// Its file name beside Quorvalen.exe, and its one export.
constexpr char kSinkCallerDll[] = "QuorvalenSinkCaller.dll";
constexpr char kSinkCallerExport[] = "CallLoadGameSink";

using SinkCaller = std::uint32_t (*)(void* sink, const void* event, void* source);
SinkCaller g_caller = nullptr;

} // namespace

bool LoadSinkCaller(std::string& error) {
    char exe[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        error = "cannot tell the simulator's own folder";
        return false;
    }
    std::string path(exe, length);
    path = path.substr(0, path.find_last_of("\\/") + 1) + kSinkCallerDll;
    HMODULE caller = LoadLibraryA(path.c_str());
    if (caller == nullptr) {
        error = "cannot load the game's sink caller " + path + " (error " +
                std::to_string(GetLastError()) + ")";
        return false;
    }
    g_caller = reinterpret_cast<SinkCaller>(GetProcAddress(caller, kSinkCallerExport));
    if (g_caller == nullptr) {
        error = path + " has no export " + kSinkCallerExport;
        return false;
    }
    return true;
}

std::uint32_t CallSinkHandler(void* sink, const void* event, void* source) {
    return g_caller(sink, event, source);
}

} // namespace sim
