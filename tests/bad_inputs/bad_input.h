#pragma once
// The texts bad settings files are bent from: the whole settings file as a player keeps it, and
// text as UTF-16; and the eighteen keys as the companion script numbers them.
#include <string>

namespace testing {

struct NumberedKey {
    const char* name;
    int sendNumber;
};
// The eighteen keys in the order the plugin writes them, each with the number it is sent under.
extern const NumberedKey kKeysInWriteOrder[18];

// The whole settings file as a player keeps it: "[Settings]" and the eighteen keys in the order the
// plugin writes them, every line ended by lineEnd. The setting sent as number n holds n * 10;
// bDebugMode holds 1.
std::string FullText(const std::string& lineEnd = "\r\n");
// The same without the bDebugMode line.
std::string FullTextWithoutDebugMode(const std::string& lineEnd = "\r\n");

// Bytes as UTF-16 LE, and as UTF-16 BE, each byte one unit, each with its byte-order mark.
std::string Utf16(const std::string& ascii);
std::string Utf16Be(const std::string& ascii);

} // namespace testing
