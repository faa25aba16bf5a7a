#pragma once
// Every line the plugin can write to its log and standard output, as players read them, and the
// parts that fill their placeholders: written here once, read by the player's readme
// (docs/player-readme.txt), which explains each of them; a test holds the two together. The texts
// are printf formats, as LogLine takes them.
#include "korv_common/plugin_name.h"

#include <cinttypes>

// Pieces several lines share.
#define HELMSHROUD_ROUTINE_WARNING "Install_Helmshroud :: Warning: "
#define HELMSHROUD_ROUTINE_ERROR "Install_Helmshroud :: Error: "
#define HELMSHROUD_LINE_OF "line %llu of " HELMSHROUD_INI_NAME ", '%s', "
#define HELMSHROUD_FORMS_READ                                                                      \
    "ANSI, UTF-8 without a byte-order mark, or UTF-16 LE with its byte-order mark"
#define HELMSHROUD_FOUND_MARK                                                                      \
    "begins with a UTF-8 byte-order mark, which hides its first section from Windows"
#define HELMSHROUD_FOUND_BIG_ENDIAN "is saved as UTF-16 big-endian, which Windows can't read"
#define HELMSHROUD_NOT_MADE                                                                        \
    HELMSHROUD_ROUTINE_ERROR                                                                       \
        "couldn't make " HELMSHROUD_INI_NAME                                                       \
        ": its defaults go first into " HELMSHROUD_INI_NAME HELMSHROUD_TEMPORARY_SUFFIX            \
        " beside it, "
#define HELMSHROUD_UNKNOWN_KEY                                                                     \
    HELMSHROUD_ROUTINE_WARNING "line %llu of " HELMSHROUD_INI_NAME                                 \
                               " holds key '%s', which is none of the plugin's keys and is "       \
                               "ignored."
#define HELMSHROUD_GOES_OUT_AS_WRITTEN                                                             \
    "; it goes out as written, and the game script decides what it means."

// LINE(name, text) for each line and part, grouped by who writes it.
#define HELMSHROUD_LOG_LINES(LINE)                                                                 \
    /* The log itself: what an output missed, and a log file Windows won't write. */               \
    LINE(kFileLeftOut, "LogLine :: Warning: the log file's queue had no room for %llu line(s); "   \
                       "they are missing here (standard output has them).")                        \
    LINE(kBothLeftOut, "LogLine :: Warning: %llu line(s) had no room in the queues of this file "  \
                       "and of standard output, and are missing from both.")                       \
    LINE(kStdoutLeftOut,                                                                           \
         "LogLine :: Warning: standard output took no lines for a while; %llu line(s) had no "     \
         "room in its queue and are missing there (this file has them).")                          \
    LINE(kFileWritesFail,                                                                          \
         "LogLine :: Error: the log file can't be written (Windows error %llu). Its lines wait "   \
         "until it can; any it has no room for meanwhile are counted, and the file says how "      \
         "many.")                                                                                  \
    /* Opening the log, on the extender's thread. */                                               \
    LINE(kDocumentsBlocked,                                                                        \
         "Your virus scanner is blocking access to your My Documents folder. SHGetFolderPath "     \
         "%08X failed (result = %08X lasterr = %08X)")                                             \
    LINE(kAssertion32, "Assertion failed in %s (%d): %s (code = %08X (%d))")                       \
    LINE(kAssertion64, "Assertion failed in %s (%d): %s (code = %16" PRIX64 " (%" PRId64 "))")     \
    LINE(kLogPathTooLong,                                                                          \
         "OpenLog :: Error: the log path below %s is too long. Logging to standard output only.")  \
    LINE(kLogNotOpened, "OpenLog :: Error: couldn't open %s. Logging to standard output only.")    \
    /* The load entry, the extender's messages, the game's load-game sink and the worker. */       \
    LINE(kLoaded, "KORVPlugin_Load!")                                                              \
    LINE(kNoLoadInterface, "KORVPlugin_Load :: Error: no load interface from the extender.")       \
    LINE(kNoMessaging, "KORVPlugin_Load :: Error: the extender has no messaging interface.")       \
    LINE(kLoadStopped, "KORVPlugin_Load :: Error: the load stopped on an error. Nothing will be "  \
                       "sent to the game script in this game run.")                                \
    LINE(kPostDataLoad, "KORVPlugin_HandleOnLoad_PostDataLoad!")                                   \
    LINE(kSinkMayBeMissing,                                                                        \
         "KORVPlugin_HandleOnLoad_PostDataLoad :: Error: the load-game sink may not be "           \
         "registered. Game loads may send no settings.")                                           \
    LINE(kEventReceived, "QELLoadGameEvent :: Info: Event received.")                              \
    LINE(kWorkerNotStarted, "QELLoadGameEvent :: Error: couldn't start the settings worker "       \
                            "(error %lu). Nothing sent for this load.")                            \
    LINE(kRunStopped,                                                                              \
         "InstallWorker :: Error: the settings run stopped on an error (%s). The game script "     \
         "may not have got every setting for this load.")                                          \
    /* Whether the settings file is there. */                                                      \
    LINE(kExistsFailed, "IniExists :: Error: exists failed for %s (Windows error %u).")            \
    LINE(kPathTooLong, "IniExists :: Error: the path of %s.ini is too long.")                      \
    LINE(kExistsUnknown, HELMSHROUD_ROUTINE_ERROR "couldn't tell whether " HELMSHROUD_INI_NAME     \
                                                  " exists. Skipped this run to keep the file as " \
                                                  "it is.")                                        \
    /* Making the settings file. */                                                                \
    LINE(kCreated,                                                                                 \
         HELMSHROUD_ROUTINE_WARNING HELMSHROUD_INI_NAME " wasn't existing. Created one.")          \
    LINE(kNotMadeTemporary, HELMSHROUD_NOT_MADE "which can't be made: %s; %s.")                    \
    LINE(kNotMadeWrite,                                                                            \
         HELMSHROUD_NOT_MADE "and Windows refused to write them there (Windows error %u).")        \
    LINE(kNotMadePlace,                                                                            \
         HELMSHROUD_NOT_MADE "and that file couldn't take its place (Windows error %u).")          \
    LINE(kAborting,                                                                                \
         HELMSHROUD_ROUTINE_ERROR HELMSHROUD_INI_NAME " couldn't be created. Aborting.")           \
    /* Why the temporary file beside it can't be made, and what to do. */                          \
    LINE(kTemporaryFolder, "a folder of that name stands there")                                   \
    LINE(kRemoveIt, "remove it")                                                                   \
    LINE(kTemporaryFile, "a file of that name stands there that the plugin did not make")          \
    LINE(kRemoveOrRename, "remove or rename it")                                                   \
    LINE(kNoPluginFolder, "the folder Data\\KORV\\Plugins is missing")                             \
    LINE(kReinstall, "reinstall the plugin")                                                       \
    LINE(kLetGameWrite, "let the game write to its Data\\KORV\\Plugins folder")                    \
    /* Reading the settings file, and why it can't be read. */                                     \
    LINE(kUnreadable, HELMSHROUD_ROUTINE_ERROR HELMSHROUD_INI_NAME " can't be read: %s. Nothing "  \
                                                                   "sent.")                        \
    LINE(kCauseFolder, "a folder of that name stands in its place")                                \
    LINE(kCauseHeld, "another program holds it open and lets nobody read it (Windows error %u)")   \
    LINE(kCauseDenied, "Windows denies the game reading it (Windows error %u)")                    \
    LINE(kCauseGone, "it is no longer there (Windows error %u)")                                   \
    LINE(kWindowsError, "Windows error %u")                                                        \
    /* Rewriting a file saved in a form Windows doesn't read. */                                   \
    LINE(kMarkRemoved, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_INI_NAME                              \
         " " HELMSHROUD_FOUND_MARK ". Removed the mark; the rest of the file is as it was.")       \
    LINE(kBigEndianRewritten, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_INI_NAME                       \
         " " HELMSHROUD_FOUND_BIG_ENDIAN                                                           \
         ". Rewrote it as UTF-16 LE with its byte-order mark; the "                                \
         "text is as it was.")                                                                     \
    LINE(kNotRewritten, HELMSHROUD_ROUTINE_ERROR HELMSHROUD_INI_NAME                               \
         " %s, and it couldn't be rewritten: %s. The file was left as it is: %s, or save the "     \
         "file as " HELMSHROUD_FORMS_READ ".")                                                     \
    LINE(kFoundMark, HELMSHROUD_FOUND_MARK)                                                        \
    LINE(kFoundBigEndian, HELMSHROUD_FOUND_BIG_ENDIAN)                                             \
    LINE(kReadOnly, "it is marked read-only")                                                      \
    LINE(kClearReadOnly, "clear its read-only mark")                                               \
    LINE(kHeldOpen, "another program holds it open")                                               \
    LINE(kCloseProgram, "close that program")                                                      \
    LINE(kChanged, "it changed while the plugin rewrote it")                                       \
    LINE(kLoadAgain, "load a game again")                                                          \
    LINE(kNoTemporary, "its temporary file " HELMSHROUD_INI_NAME HELMSHROUD_TEMPORARY_SUFFIX       \
                       " can't be made beside it (%s)")                                            \
    /* What the file's text says beside the values Windows read. */                                \
    LINE(kNoText, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_INI_NAME                                   \
         " holds no text the plugin can read (saved as UTF-16 without a byte-order mark, or not "  \
         "text at all). Save it as " HELMSHROUD_FORMS_READ ".")                                    \
    LINE(kNoSettings, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_INI_NAME                               \
         " has no [Settings] section. The plugin reads its settings only from [Settings].")        \
    LINE(kNoSettingsFirst, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_INI_NAME                          \
         " has no [Settings] section (its first section is [%s]). The plugin reads its settings "  \
         "only from [Settings].")                                                                  \
    LINE(kUnsureSection, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_LINE_OF                             \
         "may be read as another section than [Settings], and the values under it are read as "    \
         "empty and go out empty. Write the line as [Settings].")                                  \
    LINE(kUnreadSection, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_LINE_OF                             \
         "is not read as the start of [Settings]: the %llu values under it are read as empty and " \
         "go out empty. %s")                                                                       \
    LINE(kUnreadValue, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_LINE_OF                               \
         "holds a value for %s that Windows reads as empty, and it goes out empty. %s")            \
    LINE(kRemedyLineEnd,                                                                           \
         "Line %llu ends in a non-ASCII character, which Windows' code page may read together "    \
         "with the line's end: add a blank after that character.")                                 \
    LINE(kRemedyRetype,                                                                            \
         "Retype the line in plain characters, or save the file as " HELMSHROUD_FORMS_READ ".")    \
    LINE(kOtherSection, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_LINE_OF                              \
         "starts a section other than [Settings], where the plugin does not look: the plugin's "   \
         "keys under it (%llu) go out empty. %s")                                                  \
    LINE(kAboveSections, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_LINE_OF                             \
         "stands above the first section line, where the plugin does not look: the plugin's keys " \
         "there (%llu) go out empty. %s")                                                          \
    LINE(kRenameLine, "Rename line %llu to [Settings].")                                           \
    LINE(kMoveUnder, "Move them under [Settings] (line %llu).")                                    \
    LINE(kPutSettingsAbove, "Put a line [Settings] above line %llu.")                              \
    LINE(kSecondSettings, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_LINE_OF                            \
         "starts a second [Settings], and Windows reads only the first (line %llu): the plugin's " \
         "keys under it (%llu) are not read. Move them under the first [Settings] and remove "     \
         "line %llu.")                                                                             \
    LINE(kKeyTwice, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_LINE_OF                                  \
         "is not read: %s stands in [Settings] before it, on line %llu, and only that line "       \
         "counts. Remove one of the two lines.")                                                   \
    LINE(kUnknownKey, HELMSHROUD_UNKNOWN_KEY)                                                      \
    LINE(kUnknownKeyMeant, HELMSHROUD_UNKNOWN_KEY " Did you mean '%s'?")                           \
    LINE(kNoKeyName, HELMSHROUD_ROUTINE_WARNING "line %llu of " HELMSHROUD_INI_NAME                \
                                                " has no key name before its '=' and is "          \
                                                "ignored.")                                        \
    LINE(kMoreUnknownKeys, HELMSHROUD_ROUTINE_WARNING HELMSHROUD_INI_NAME                          \
         " has further keys that are none of the plugin's (%llu), and they are ignored.")          \
    LINE(kSentEmpty, HELMSHROUD_ROUTINE_WARNING "these keys are missing from " HELMSHROUD_INI_NAME \
                                                " or empty, and go out empty: %s.")                \
    LINE(kAllSentEmpty, HELMSHROUD_ROUTINE_WARNING "all 17 keys in " HELMSHROUD_INI_NAME           \
                                                   " other than bDebugMode are missing or empty, " \
                                                   "and go out empty.")                            \
    LINE(kNotWhole,                                                                                \
         HELMSHROUD_ROUTINE_WARNING "key '%s' in " HELMSHROUD_INI_NAME " holds '%s', not a whole " \
                                    "number" HELMSHROUD_GOES_OUT_AS_WRITTEN)                       \
    LINE(kNotBoolean, HELMSHROUD_ROUTINE_WARNING "key 'bDebugMode' in " HELMSHROUD_INI_NAME        \
                                                 " holds '%s', not 0 or "                          \
                                                 "1" HELMSHROUD_GOES_OUT_AS_WRITTEN)               \
    /* The bDebugMode repair. */                                                                   \
    LINE(kRepaired, HELMSHROUD_ROUTINE_WARNING "key 'bDebugMode' in " HELMSHROUD_INI_NAME          \
                                               " wasn't existing. Created it.")                    \
    LINE(kRepairFailed, HELMSHROUD_ROUTINE_ERROR "key 'bDebugMode' in " HELMSHROUD_INI_NAME        \
                                                 " wasn't existing and couldn't be created.")      \
    LINE(kRepairHeld, HELMSHROUD_ROUTINE_WARNING "key 'bDebugMode' in " HELMSHROUD_INI_NAME        \
                                                 " is missing or empty and goes out empty; the "   \
                                                 "plugin did not add it, as %s.")                  \
    LINE(kHeldNul, "line %llu holds a NUL character, where Windows' writer may cut the line")      \
    LINE(kHeldUnread,                                                                              \
         "Windows reads line %llu otherwise than it stands, and a write could change it")          \
    LINE(kHeldStray,                                                                               \
         "line %llu holds a bDebugMode where it is not read, and an added one would stand in "     \
         "its way")                                                                                \
    LINE(kHeldUnseen, "line %llu, '%s', is not read as [Settings], and the write would add a "     \
                      "second one")                                                                \
    LINE(kHeldUnwritable, "the file is in a form Windows can't read, and its rewrite failed")      \
    LINE(kHeldTooLarge,                                                                            \
         "the file is over 1 MiB, more than the plugin reads to make sure a write is safe")        \
    /* Sending the values to the game script. */                                                   \
    LINE(kConsoleUnreachable,                                                                      \
         HELMSHROUD_ROUTINE_ERROR "the game's console can't be reached. Nothing sent.")            \
    LINE(kCalled, "Install_Helmshroud :: Info: Called SendIniData.")

namespace lines {

#define HELMSHROUD_DEFINE_LINE(name, text) inline constexpr char name[] = text;
HELMSHROUD_LOG_LINES(HELMSHROUD_DEFINE_LINE)
#undef HELMSHROUD_DEFINE_LINE

// Every line and part above, for the test that holds the player's readme to them.
#define HELMSHROUD_LIST_LINE(name, text) name,
inline constexpr const char* kEveryLine[] = {HELMSHROUD_LOG_LINES(HELMSHROUD_LIST_LINE)};
#undef HELMSHROUD_LIST_LINE

} // namespace lines
