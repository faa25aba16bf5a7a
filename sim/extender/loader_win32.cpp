#include "sim/extender/loader.h"

#include "sim/extender/korv_records.h"
#include "sim/extender/messaging.h"
#include "sim/extender/version_check.h"
#include "sim/platform/platform.h"
#include "sim/platform/text.h"
#include "sim/record/transcript.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace sim {

namespace {

// The plugin's load entry; its bool result is one byte.
using LoadEntry = std::uint8_t (*)(const LoadInterface*);

std::vector<std::string> PluginFiles(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*.dll").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(entry.cFileName);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : path;
}

void Refuse(HMODULE module, const std::string& name, const std::string& reason,
            LoaderTally& tally) {
    Record(Kind::Refused, name + ": " + reason);
    if (module != nullptr) {
        FreeLibrary(module);
    }
    ++tally.refused;
}

void LoadPlugin(const std::string& path, const std::string& name, const BeforeLoadEntry& beforeLoad,
                LoaderTally& tally) {
    Record(Kind::Dll, name + " (" + path + ")");
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        Refuse(nullptr, name, "LoadLibrary failed, error " + std::to_string(GetLastError()), tally);
        return;
    }
    auto* exported = reinterpret_cast<const VersionRecord*>(GetProcAddress(module, kVersionExport));
    auto load =
        reinterpret_cast<LoadEntry>(reinterpret_cast<void*>(GetProcAddress(module, kLoadExport)));
    if (exported == nullptr || load == nullptr) {
        Refuse(module, name,
               std::string("no export ") + (exported == nullptr ? kVersionExport : kLoadExport),
               tally);
        return;
    }
    VersionRecord record;
    std::memcpy(&record, exported, sizeof record);
    for (const std::string& field : DescribeVersionRecord(record)) {
        Record(Kind::Record, field);
    }
    std::string reason = RefusalReason(record);
    if (!reason.empty()) {
        Refuse(module, name, reason, tally);
        return;
    }
    if (beforeLoad) {
        reason = beforeLoad(module);
        if (!reason.empty()) {
            Refuse(module, name, reason, tally);
            return;
        }
    }

    std::uint32_t handle = BeginPluginLoad(tally.found);
    Record(Kind::Load, "KORVPlugin_Load of " + name + " with load interface " +
                           Pointer(ExtenderLoadInterface()) + ", handle " + Hex(handle));
    std::int64_t before = Ticks();
    std::uint8_t result = load(ExtenderLoadInterface());
    std::int64_t after = Ticks();
    bool loaded = result != 0;
    EndPluginLoad(handle, loaded);
    Record(Kind::Result, "KORVPlugin_Load of " + name + " returned " + std::to_string(result) +
                             (loaded ? ": loaded" : ": not loaded"));
    ++(loaded ? tally.loaded : tally.failed);
    if (loaded) {
        double ms =
            static_cast<double>(after - before) * 1000.0 / static_cast<double>(TicksPerSecond());
        tally.loadedPlugins.push_back({path, module, ms});
    }
}

} // namespace

LoaderTally LoadPlugins(const BeforeLoadEntry& beforeLoad) {
    LoaderTally tally;
    std::string folder = FullPath(kPluginFolder);
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
    std::vector<std::string> names = PluginFiles(folder);
    Record(Kind::Folder, folder + ": " + std::to_string(names.size()) + " DLL(s)");
    for (const std::string& name : names) {
        LoadPlugin(folder + name, name, beforeLoad, tally);
        ++tally.found;
    }
    return tally;
}

} // namespace sim
