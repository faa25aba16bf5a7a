#include "sim/bench/floors.h"

#include "sim/bench/doubles.h"
#include "sim/extender/korv_records.h"
#include "sim/game/game_build.h"
#include "sim/game/image.h"
#include "sim/platform/platform.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace sim {

namespace {

// The stack size the plugin asks for its worker threads.
constexpr SIZE_T kWorkerStackSize = 4096;
constexpr DWORD kValueSize = 255;
// The settings file of the plugin under test, beside it in the plugin folder. The floor reads the
// section and keys it finds there, so that it knows nothing of the plugin but the file's name.
const std::string g_settingsFile = std::string(kPluginFolder) + "Helmshroud.ini";
std::string g_section;
std::vector<std::string> g_keys;
TimedStart g_settingsStart; // one floor thread at a time

// The plugin's sink logs "QELLoadGameEvent :: Info: Event received.": a line of that length.
constexpr char kFloorLine[] = "bench floor: one line as long as the sink\n";
static_assert(sizeof kFloorLine == sizeof "QELLoadGameEvent :: Info: Event received.\n");

using ConsoleExecutor = void (*)(std::uint64_t context, const char* command);

DWORD WINAPI EmptyRoutine(LPVOID) {
    return 0;
}

// The names in a double-zero-ended list, as the profile functions return them.
std::vector<std::string> NameList(const char* list) {
    std::vector<std::string> names;
    for (const char* name = list; *name != '\0'; name += std::strlen(name) + 1) {
        names.emplace_back(name);
    }
    return names;
}

// The file's first section and its keys, looked up once, outside the timed work.
void LearnSettingsLayout() {
    if (!g_keys.empty()) {
        return;
    }
    char list[32768] = {};
    GetPrivateProfileSectionNamesA(list, sizeof list, g_settingsFile.c_str());
    std::vector<std::string> sections = NameList(list);
    if (sections.empty()) {
        return;
    }
    g_section = sections.front();
    std::memset(list, 0, sizeof list);
    GetPrivateProfileStringA(g_section.c_str(), nullptr, "", list, sizeof list,
                             g_settingsFile.c_str());
    g_keys = NameList(list);
}

DWORD WINAPI ReadAndSend(LPVOID) {
    std::vector<std::string> values(g_keys.size());
    char value[kValueSize];
    for (std::size_t i = 0; i < g_keys.size(); ++i) {
        GetPrivateProfileStringA(g_section.c_str(), g_keys[i].c_str(), "", value, kValueSize,
                                 g_settingsFile.c_str());
        values[i] = value;
    }
    auto execute = reinterpret_cast<ConsoleExecutor>(GameImageBase() + kConsoleExecutorOffset);
    char command[64 + kValueSize];
    for (std::size_t i = 0; i < values.size(); ++i) {
        // A command as long as a settings command, to a script of the floor's own.
        std::snprintf(command, sizeof command, "CGF \"HelmFloor.SendIniData\" %zu %s", i + 1,
                      values[i].c_str());
        execute(kConsoleContext, command);
    }
    return 0;
}

void StartBareThread() {
    HANDLE thread = CreateThread(nullptr, kWorkerStackSize, &EmptyRoutine, nullptr, 0, nullptr);
    if (thread != nullptr) {
        CloseHandle(thread);
    }
}

} // namespace

double BareThreadFloorMs() {
    std::int64_t before = Ticks();
    StartBareThread();
    std::int64_t after = Ticks();
    return TicksToMs(after - before);
}

double LineAndThreadFloorMs() {
    std::int64_t before = Ticks();
    std::fputs(kFloorLine, stdout);
    StartBareThread();
    std::int64_t after = Ticks();
    return TicksToMs(after - before);
}

double SettingsFloorMs(std::uint32_t timeoutMs) {
    LearnSettingsLayout();
    g_settingsStart = {&ReadAndSend, nullptr, -1};
    HANDLE thread =
        CreateThread(nullptr, kWorkerStackSize, &RunTimed, &g_settingsStart, 0, nullptr);
    if (thread == nullptr) {
        return -1;
    }
    if (WaitForSingleObject(thread, timeoutMs) != WAIT_OBJECT_0) {
        return -1; // the caller stops: the thread may still use g_settingsStart
    }
    CloseHandle(thread);
    return g_settingsStart.ticks < 0 ? -1 : TicksToMs(g_settingsStart.ticks);
}

} // namespace sim
