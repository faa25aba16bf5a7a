#include "sim/bench_floors.h"

#include "korv_common/plugin_name.h"
#include "settings/send_command.h"
#include "settings/settings_keys.h"
#include "sim/bench_doubles.h"
#include "sim/game_image.h"
#include "sim/korv_abi.h"
#include "sim/platform.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace sim {

namespace {

// The stack size the plugin asks for its worker threads.
constexpr SIZE_T kWorkerStackSize = 4096;
constexpr DWORD kValueSize = 255;
constexpr std::size_t kValues = settings::kSettingKeys.size();
const std::string g_settingsFile = std::string(kPluginFolder) + HELMSHROUD_INI_NAME;
TimedStart g_settingsStart; // one floor thread at a time

// The plugin's sink logs "QELLoadGameEvent :: Info: Event received.": a line of that length.
constexpr char kFloorLine[] = "bench floor: one line as long as the sink\n";
static_assert(sizeof kFloorLine == sizeof "QELLoadGameEvent :: Info: Event received.\n");

using ConsoleExecutor = void (*)(std::uint64_t context, const char* command);

DWORD WINAPI EmptyRoutine(LPVOID) {
    return 0;
}

DWORD WINAPI ReadAndSend(LPVOID) {
    char values[kValues][kValueSize];
    for (std::size_t i = 0; i < kValues; ++i) {
        const settings::SettingKey& key = settings::KeyBySendNumber(static_cast<int>(i + 1));
        GetPrivateProfileStringA(settings::kSettingsSection, key.name, "", values[i], kValueSize,
                                 g_settingsFile.c_str());
    }
    auto execute = reinterpret_cast<ConsoleExecutor>(GameImageBase() + kConsoleExecutorOffset);
    char command[sizeof settings::kSendIniDataPrefix + 16 + kValueSize];
    for (std::size_t i = 0; i < kValues; ++i) {
        std::snprintf(command, sizeof command, "%s%zu %s", settings::kSendIniDataPrefix, i + 1,
                      values[i]);
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
