#pragma once
// One case of tests/bad_inputs/cases/: a settings file as it stands in the plugin folder when the
// game loads, and what one game load of the real plugin must make of it. The format is written out
// in tests/bad_inputs/cases/README.md.
#include <optional>
#include <string>
#include <vector>

namespace testing {

// How the settings file stands in the plugin folder when the game loads.
enum class Placement {
    File,             // the bytes, written as they are
    None,             // no settings file
    Folder,           // a folder named Helmshroud.ini stands there instead
    ReadOnlyFile,     // the bytes, marked FILE_ATTRIBUTE_READONLY
    ReadOnlyFolder,   // the bytes, if any, in a plugin folder marked read-only
    HeldExclusively,  // the bytes, held open by the test program with share mode 0
    HeldSharingReads, // the bytes, held open for writing by the test program, sharing reads only
    TemporaryTaken,   // no file, and a folder named as the plugin's temporary file beside it
};

enum class SendsForm { Listed, Nothing, AsPlatformReads };
enum class AfterForm { Literal, Unchanged, None, AsOneRepairWrite };

struct CaseFile {
    Placement placement = Placement::File;
    // Run only where ReadOnlyMarkStopsWrites() gives this answer.
    std::optional<bool> whereReadOnlyBinds;
    std::optional<std::string> bytes; // none when no file is written
    SendsForm sends = SendsForm::Listed;
    std::vector<std::string> values; // the eighteen, in send order, when Listed
    // The settings routine's log lines, after "QELLoadGameEvent :: Info: Event received.".
    std::vector<std::string> log;
    AfterForm afterForm = AfterForm::Literal;
    std::string after;                               // the file's bytes after the run, when Literal
    std::optional<std::vector<std::string>> entries; // the plugin folder's, after the run
};

struct MalformedCase {
    std::size_t line; // from 1
    std::string what;
};

// Reads a case file's text. Throws MalformedCase, naming the line, for a text not in the format.
CaseFile ParseCase(const std::string& text);

} // namespace testing
