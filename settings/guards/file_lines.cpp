#include "settings/guards/file_lines.h"

#include "korv_common/plugin_name.h"

#include <initializer_list>
#include <string_view>

namespace settings {

namespace {

// Windows errors, as winerror.h numbers them.
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kLockViolation = 33;
constexpr std::uint32_t kFileExists = 80;

constexpr std::string_view kError = "Install_Helmshroud :: Error: ";

std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) {
        text += part;
    }
    return text;
}

std::string WindowsError(std::uint32_t error) {
    return Joined({"Windows error ", std::to_string(error)});
}

// Why a file did not open or read, as the platform answered.
std::string Cause(const FileFailure& failure) {
    if (failure.folder) {
        return "a folder of that name stands in its place";
    }
    std::string_view cause;
    switch (failure.windowsError) {
    case kSharingViolation:
    case kLockViolation:
        cause = "another program holds it open and lets nobody read it";
        break;
    case kAccessDenied:
        cause = "Windows denies the game reading it";
        break;
    case kFileNotFound:
    case kPathNotFound:
        cause = "it is no longer there";
        break;
    default:
        return WindowsError(failure.windowsError);
    }
    return Joined({cause, " (", WindowsError(failure.windowsError), ")"});
}

std::string_view Found(TextForm form) {
    return form == TextForm::Utf8WithMark ? "begins with a UTF-8 byte-order mark, which hides its "
                                            "first section from Windows"
                                          : "is saved as UTF-16 big-endian, which Windows can't "
                                            "read";
}

struct CauseAndRemedy {
    std::string cause;
    std::string_view remedy;
};

// Why the temporary file could not be made, and what to do.
CauseAndRemedy TemporaryCause(const RewriteOutcome& outcome) {
    if (outcome.folder) {
        return {"a folder of that name stands there", "remove it"};
    }
    if (outcome.windowsError == kFileExists) {
        return {"a file of that name stands there that the plugin did not make",
                "remove or rename it"};
    }
    if (outcome.windowsError == kPathNotFound) {
        return {"the folder Data\\KORV\\Plugins is missing", "reinstall the plugin"};
    }
    return {WindowsError(outcome.windowsError),
            "let the game write to its Data\\KORV\\Plugins folder"};
}

// Why the rewrite failed, and the first thing to try.
CauseAndRemedy RewriteCause(const RewriteOutcome& outcome) {
    switch (outcome.failure) {
    case RewriteFailure::ReadOnly:
        return {"it is marked read-only", "clear its read-only mark"};
    case RewriteFailure::Held:
        return {"another program holds it open", "close that program"};
    case RewriteFailure::NoTemporary: {
        CauseAndRemedy temporary = TemporaryCause(outcome);
        return {Joined({"its temporary file " HELMSHROUD_INI_NAME, kTemporarySuffix,
                        " can't be made beside it (", temporary.cause, ")"}),
                temporary.remedy};
    }
    default: // a failed copy or replacement
        return {WindowsError(outcome.windowsError), "load a game again"};
    }
}

} // namespace

std::string UnreadableLine(const FileFailure& failure) {
    return Joined(
        {kError, HELMSHROUD_INI_NAME " can't be read: ", Cause(failure), ". Nothing sent."});
}

std::string ReadsFailedLine(const FileFailure& failure) {
    return Joined({kError, "Windows couldn't read " HELMSHROUD_INI_NAME ": ", Cause(failure),
                   ". Nothing sent, and the file was left as it is; the next game load reads it "
                   "again."});
}

std::string CreationFailedLine(const RewriteOutcome& outcome) {
    std::string start = Joined({kError,
                                "couldn't make " HELMSHROUD_INI_NAME
                                ": its defaults go first into " HELMSHROUD_INI_NAME,
                                kTemporarySuffix, " beside it, "});
    if (outcome.failure == RewriteFailure::NoTemporary) {
        CauseAndRemedy temporary = TemporaryCause(outcome);
        return Joined(
            {start, "which can't be made: ", temporary.cause, "; ", temporary.remedy, "."});
    }
    return Joined({start,
                   outcome.failure == RewriteFailure::Copy
                       ? "and Windows refused to write them there ("
                       : "and that file couldn't take its place (",
                   WindowsError(outcome.windowsError), ")."});
}

std::string RewrittenLine(TextForm form) {
    return Joined({"Install_Helmshroud :: Warning: " HELMSHROUD_INI_NAME " ", Found(form), ". ",
                   form == TextForm::Utf8WithMark
                       ? "Removed the mark; the rest of the file is as it was."
                       : "Rewrote it as UTF-16 LE with its byte-order mark; the text is as it "
                         "was."});
}

std::string RewriteFailedLine(TextForm form, const RewriteOutcome& outcome) {
    CauseAndRemedy failed = RewriteCause(outcome);
    return Joined({kError, HELMSHROUD_INI_NAME " ", Found(form),
                   ", and it couldn't be rewritten: ", failed.cause,
                   ". Its values were sent as Windows read them, and the file was left as it is: ",
                   failed.remedy, ", or save the file as ", kFormsWindowsReads, "."});
}

} // namespace settings
