#pragma once
// The transcript: a timestamped record of everything that crosses the boundary between the
// simulated extender and game on one side and the plugins on the other.
//
// Format: one entry per line, ended by "\n":
//
//     <time>  <source>  <kind>    <detail>
//
//   time    milliseconds since the simulator started, printed "%10.3f" (right-aligned, 3 decimals)
//   source  who or which thread the entry comes from, left-aligned in 6 columns:
//             korv    the extender's thread (the simulator's main thread)
//             game    the game thread, which runs the game loads
//             other   any other thread (a thread the plugin started)
//             stdout  a line the plugin wrote to its standard output
//             sim     the simulator's own bookkeeping (options, waiting, summary)
//   kind    one word of at most 8 letters, left-aligned in 8 columns (see KindName)
//   detail  free text, verbatim (a carriage return or line feed inside it is written as \r or \n)
//
// Two blanks separate the fields, so the detail starts 2 columns after the kind's 8 columns and
// can be cut out exactly, leading blanks included. Example:
//
//       2003.412  other   command   CGF "Helmshroud.SendIniData" 1 1
//
// Kinds by source:
//   korv   folder, dll, refused, record, patch, load, result, query, handle, listener, message
//   game   source, register, load, sink (and listener/register/command when a plugin calls from it)
//   any    command (a console command, verbatim), fault (a fault double was called), error
//   stdout line
//   sim    option, wait, summary, error, crash and frame (the crash report, see crash_report.h),
//          bench (a line of the benchmark's report)
// Every "error" entry counts as one error in the summary; the exit code is 0 only without errors.
#include <string>

namespace sim {

enum class Source { Korv, Game, Other, Stdout, Sim };

enum class Kind {
    Folder,   // the plugin folder the extender scans, or the working folder the game moves to
    Dll,      // a DLL found in it
    Refused,  // a DLL the extender will not load, with the reason
    Record,   // one field of a plugin's version record
    Patch,    // an import of the plugin replaced by a fault double
    Load,     // KORVPlugin_Load about to be called / a game load begins
    Result,   // what KORVPlugin_Load returned
    Query,    // the load interface's query-interface operation was called
    Handle,   // the load interface's get-plugin-handle operation was called
    Listener, // a message listener registration
    Message,  // a message sent by the extender
    EventSrc, // the game's load-game event source getter was called
    Register, // a sink registration with the game's event source
    Sink,     // one call of a sink by the game, with its duration and result
    Command,  // one console command
    Fault,    // a fault double was called by the plugin
    Line,     // a line of the plugin's standard output
    Option,   // an option the simulator runs with
    Wait,     // the simulator waits for the plugin's workers
    Summary,  // one line of the closing summary
    Error,    // something the simulator flags as wrong
    Crash,    // an unhandled exception ends the process: what it was and where
    Frame,    // one frame of the crashed thread's stack, innermost first
    Bench,    // a phase or a line of the table of the benchmark mode
};

const char* SourceName(Source source);
const char* KindName(Kind kind);

// One formatted entry, with its trailing "\n".
std::string FormatEntry(double timeMs, Source source, Kind kind, const std::string& detail);

// Records an entry whose source is the calling thread's role.
void Record(Kind kind, const std::string& detail);
// Records an entry with an explicit source.
void RecordAs(Source source, Kind kind, const std::string& detail);
// Records an error entry (source: the calling thread's role) and counts it.
void RecordError(const std::string& detail);
void RecordErrorAs(Source source, const std::string& detail);
int ErrorCount();

} // namespace sim
