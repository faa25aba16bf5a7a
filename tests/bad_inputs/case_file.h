#pragma once
// One case of tests/bad_inputs/cases/: a settings file as it stands in the plugin folder when the
// game loads, and what one game load of the real plugin must make of it. The format, and what each
// word of it means, is written out in tests/bad_inputs/cases/README.md.
#include <optional>
#include <string>
#include <vector>

namespace testing {

// The words of '== placement', '== sends' and '== after', in the order the README gives them.
enum class Placement {
    File,
    None,
    Folder,
    ReadOnlyFile,
    ReadOnlyFolder,
    HeldExclusively,
    HeldSharingReads,
    TemporaryTaken
};
enum class SendsForm { Listed, Nothing, AsPlatformReads };
enum class AfterForm { Literal, Unchanged, None, AsOneRepairWrite };

struct CaseFile {
    Placement placement = Placement::File;
    std::optional<bool> whereReadOnlyBinds; // run only where ReadOnlyMarkStopsWrites() says this
    std::optional<std::string> bytes;       // none when no file is written
    SendsForm sends = SendsForm::Listed;
    std::vector<std::string> values; // the eighteen, in send order, when Listed
    std::vector<std::string> log;    // the settings routine's lines, after the event's
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
