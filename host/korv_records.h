#pragma once
// The script extender's records, as the extender lays them out (64-bit, little-endian). The
// extender reads the version record; the plugin reads the other records at the offsets given here.
// The simulated extender keeps its own declarations, written on its own so that it checks these
// rather than agreeing with them (sim/extender/korv_records.h): a change here must be made there
// too.
#include <cstddef>
#include <cstdint>

namespace host {

// Exported by the plugin as KORVPlugin_Version; read by the extender before it loads the plugin.
struct PluginVersionData {
    std::uint32_t recordVersion;          // 0
    std::uint32_t pluginVersion;          // 4
    char pluginName[256];                 // 8, zero-padded
    char author[256];                     // 264, zero-padded
    std::uint32_t addressIndependence;    // 520
    std::uint32_t structureIndependence;  // 524
    std::uint32_t compatibleVersions[16]; // 528, ended by 0
    std::uint32_t reserved[3];            // 592
};
static_assert(offsetof(PluginVersionData, pluginName) == 8);
static_assert(offsetof(PluginVersionData, author) == 264);
static_assert(offsetof(PluginVersionData, addressIndependence) == 520);
static_assert(offsetof(PluginVersionData, structureIndependence) == 524);
static_assert(offsetof(PluginVersionData, compatibleVersions) == 528);
static_assert(offsetof(PluginVersionData, reserved) == 592);
static_assert(sizeof(PluginVersionData) == 604);

// The record layout version the extender accepts.
inline constexpr std::uint32_t kVersionRecordVersion = 1;

// Message as the extender delivers it to a listener; only the type is read.
struct Message {
    std::uint8_t extenderFields[8];
    std::uint32_t type; // 8
};
static_assert(offsetof(Message, type) == 8);

// Sent once the game's data has loaded.
inline constexpr std::uint32_t kMessagePostDataLoad = 2;
// Name of the extender itself as a message sender.
inline constexpr char kExtenderSender[] = "KORV";

using MessageHandler = void (*)(Message* message);

// Handed to KORVPlugin_Load.
struct LoadInterface {
    std::uint8_t extenderFields[0x10];
    void* (*QueryInterface)(std::uint32_t id); // 0x10
    std::uint32_t (*GetPluginHandle)();        // 0x18
};
static_assert(offsetof(LoadInterface, QueryInterface) == 0x10);
static_assert(offsetof(LoadInterface, GetPluginHandle) == 0x18);

// QueryInterface identifier of the messaging interface.
inline constexpr std::uint32_t kMessagingInterfaceId = 1;

struct MessagingInterface {
    std::uint8_t extenderFields[0x08];
    bool (*RegisterListener)(std::uint32_t pluginHandle, const char* sender,
                             MessageHandler handler); // 0x08
};
static_assert(offsetof(MessagingInterface, RegisterListener) == 0x08);

} // namespace host
