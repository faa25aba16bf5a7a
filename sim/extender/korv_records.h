#pragma once
// The script extender KORV's records as the simulated extender lays them out, and the names and
// values it shares with a plugin: what a plugin reads from the extender, and what the extender
// reads from a plugin. Every layout is little-endian with 64-bit pointers.
//
// Written from the extender's tables on its own, without the plugin's headers, so that the
// simulator checks the plugin rather than agreeing with it: the plugin's declarations of the same
// records are in host/korv_records.h, and a change to one must be made to the other.
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

} // namespace sim
