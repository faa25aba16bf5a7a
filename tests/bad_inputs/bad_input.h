#pragma once
// One settings file a player might leave behind, and what one game load must make of it: the
// values sent to the companion script, the settings routine's log lines and the file's bytes
// afterwards.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing {

// How the settings file stands in the plugin folder when the game loads.
enum class Placement {
    File,             // the bytes, written as they are
    Directory,        // a folder named Helmshroud.ini stands there instead (bytes unused)
    ReadOnlyFile,     // the bytes, marked FILE_ATTRIBUTE_READONLY
    ReadOnlyFolder,   // the bytes (none: no file) in a plugin folder marked read-only
    HeldExclusively,  // the bytes, held open by this test program with share mode 0
    HeldSharingReads, // the bytes, held open for writing by this test program, sharing reads only
    TemporaryTaken,   // no file, and a folder named as the plugin's temporary file beside it
};

struct BadInput {
    std::string name;
    std::string bytes;
    Placement placement = Placement::File;
    // The eighteen values in send order (1 to 18); none when nothing may be sent.
    std::optional<std::vector<std::string>> sent;
    // The settings routine's log lines, after "QELLoadGameEvent :: Info: Event received.".
    std::vector<std::string> log;
    // The settings file's bytes after the run.
    std::string after;
};

// Log lines of the settings routine.
inline const std::string kCalled = "Install_Helmshroud :: Info: Called SendIniData.";
inline const std::string kRepaired = "Install_Helmshroud :: Warning: key 'bDebugMode' in "
                                     "Helmshroud.ini wasn't existing. Created it.";
inline const std::string kRepairFailed = "Install_Helmshroud :: Error: key 'bDebugMode' in "
                                         "Helmshroud.ini wasn't existing and couldn't be created.";
inline const std::string kCreated =
    "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.";

inline const std::string kAllSentEmpty =
    "Install_Helmshroud :: Warning: all 17 keys in Helmshroud.ini other than bDebugMode are "
    "missing or empty and were sent empty.";
inline const std::string kNoText =
    "Install_Helmshroud :: Warning: Helmshroud.ini holds no text the plugin can read (saved as "
    "UTF-16 without a byte-order mark, or not text at all). Save it as ANSI, UTF-8 without a "
    "byte-order mark, or UTF-16 LE with its byte-order mark.";
// The line naming the keys sent empty: all but bDebugMode and the present ones, in the order the
// plugin writes them (at least two).
std::string SentEmptyBut(const std::vector<std::string>& present);
// The line for a value that does not fit its key's type prefix, shown as the line shows it.
std::string Unfit(const std::string& key, const std::string& shown);
// The line for a key of [Settings] that is none of the eighteen; `meant` empty when none is close.
std::string Unknown(const std::string& shown, const std::string& meant = "");

// A file the run must leave byte for byte as it is: values sent, one info line.
BadInput Kept(std::string name, std::string bytes, std::vector<std::string> sent);
// A file without a usable bDebugMode: the repair line, value 18 sent as "0", and the file after
// the one repair write.
BadInput Repaired(std::string name, std::string bytes, std::vector<std::string> sent,
                  std::string after);

// The whole settings file as a player keeps it: "[Settings]" and the eighteen keys in the order the
// plugin writes them, every line ended by lineEnd. The setting sent as number n holds n * 10;
// bDebugMode holds 1.
std::string FullText(const std::string& lineEnd = "\r\n");
// The same without the bDebugMode line.
std::string FullTextWithoutDebugMode(const std::string& lineEnd = "\r\n");
// What FullText sends: "10", "20", ... "170", then "1".
std::vector<std::string> FullValues();
// Eighteen values in send order: the given ones, every other value empty.
std::vector<std::string> Values(const std::vector<std::pair<int, std::string>>& set);
// values with value number n replaced.
std::vector<std::string> With(std::vector<std::string> values, int n, std::string value);

// A file on which the repair write does not stick: the error line, bDebugMode sent as read
// (empty), and the file left byte for byte as it is.
BadInput RepairRefused(std::string name, std::string bytes, std::vector<std::string> sent,
                       Placement placement = Placement::File);
// The input, standing in the plugin folder as placement says.
BadInput Placed(BadInput input, Placement placement);
// The input, its run logging these warnings just before "Called SendIniData.".
BadInput Warned(BadInput input, const std::vector<std::string>& warnings);

// ASCII text as UTF-16 LE, and as UTF-16 BE, each with its byte-order mark.
std::string Utf16(const std::string& ascii);
std::string Utf16Be(const std::string& ascii);
// Bytes from a fixed-seed generator: the same on every run.
std::string RandomBytes(std::size_t count, unsigned seed);

} // namespace testing
