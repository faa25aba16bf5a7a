#pragma once
// The records and constants that the simulated extender KORV and the simulated game Quorvalen share
// with a plugin: what a plugin reads from them, and what they read from a plugin. Every layout is
// little-endian with 64-bit pointers.
#include <cstddef>
#include <cstdint>

namespace sim {

// ---- Read by the extender from a plugin
// ----------------------------------------------------------

// Exported names the extender looks up in every plugin DLL.
inline constexpr char kVersionExport[] = "KORVPlugin_Version";
inline constexpr char kLoadExport[] = "KORVPlugin_Load";

// Folder, relative to the game folder, whose DLLs the extender loads.
inline constexpr char kPluginFolder[] = ".\\Data\\KORV\\Plugins\\";

// The version record a plugin exports as data. The extender accepts record version 1 only.
inline constexpr std::uint32_t kAcceptedRecordVersion = 1;
inline constexpr std::size_t kVersionNameSize = 256;
inline constexpr std::size_t kCompatibleRuntimeSlots = 16;

struct VersionRecord {
    std::uint32_t recordVersion;
    std::uint32_t pluginVersion;
    char name[kVersionNameSize];
    char author[kVersionNameSize];
    std::uint32_t addressIndependence;
    std::uint32_t structureIndependence;
    std::uint32_t compatibleRuntimes[kCompatibleRuntimeSlots]; // ended by 0
    std::uint32_t reserved[3];
};
static_assert(offsetof(VersionRecord, recordVersion) == 0);
static_assert(offsetof(VersionRecord, pluginVersion) == 4);
static_assert(offsetof(VersionRecord, name) == 8);
static_assert(offsetof(VersionRecord, author) == 264);
static_assert(offsetof(VersionRecord, addressIndependence) == 520);
static_assert(offsetof(VersionRecord, structureIndependence) == 524);
static_assert(offsetof(VersionRecord, compatibleRuntimes) == 528);
static_assert(offsetof(VersionRecord, reserved) == 592);
static_assert(sizeof(VersionRecord) == 604);

// ---- Read by a plugin from the extender
// ----------------------------------------------------------

// The game runtime this simulated game is: 1.8.86.0, packed major << 24 | minor << 16 | build << 4
// | sub. A plugin must list it among its compatible runtimes.
inline constexpr std::uint32_t kRuntimeVersion = 0x01080560;

// The extender's own version, handed to plugins in the load interface.
inline constexpr std::uint32_t kExtenderVersion = 0x00070100;

struct Message;
using MessageHandler = void (*)(Message*);

// Passed to KORVPlugin_Load. A plugin calls the operations at 0x10 and 0x18.
struct LoadInterface {
    std::uint32_t extenderVersion;
    std::uint32_t runtimeVersion;
    std::uint32_t editorVersion; // 0: not the editor
    std::uint32_t isEditor;      // 0
    void* (*queryInterface)(std::uint32_t id);
    std::uint32_t (*getPluginHandle)();
};
static_assert(offsetof(LoadInterface, queryInterface) == 0x10);
static_assert(offsetof(LoadInterface, getPluginHandle) == 0x18);

// Interface identifiers a plugin may query.
inline constexpr std::uint32_t kMessagingInterfaceId = 1;

// Returned by the query for kMessagingInterfaceId. A plugin calls the operation at 0x08.
struct MessagingInterface {
    std::uint32_t interfaceVersion;
    std::uint32_t padding;
    bool (*registerListener)(std::uint32_t pluginHandle, const char* sender,
                             MessageHandler handler);
};
static_assert(offsetof(MessagingInterface, registerListener) == 0x08);
inline constexpr std::uint32_t kMessagingInterfaceVersion = 1;

// Sender name of the messages the extender itself sends.
inline constexpr char kExtenderSender[] = "KORV";

// Handed to each listener. A plugin reads the type at offset 8.
struct Message {
    const char* sender;
    std::uint32_t type;
    std::uint32_t dataLength;
    const void* data;
};
static_assert(offsetof(Message, type) == 8);
static_assert(offsetof(Message, dataLength) == 12);
static_assert(offsetof(Message, data) == 16);

// ---- Read by a plugin from the game (runtime 1.8.86)
// ---------------------------------------------

// Offsets from the game image base of the entry points a plugin calls.
inline constexpr std::uintptr_t kLoadGameEventSourceOffset = 0x1A2FF20; // () -> event source
inline constexpr std::uintptr_t kRegisterSinkOffset = 0x5C122C;         // (source, sink) -> void
inline constexpr std::uintptr_t kConsoleExecutorOffset = 0x288D694;     // (context, command)

// The first argument the console executor expects.
inline constexpr std::uint64_t kConsoleContext = 0x539AE98;

// A sink is an object of the game's sink class; the game calls its event handler (see
// sink_caller.h) and expects the event-control value 0 ("continue").

// The record the game hands a sink for each loaded saved game (its content is the game's own).
struct LoadGameEvent {
    std::uint32_t loadNumber;
};

} // namespace sim
