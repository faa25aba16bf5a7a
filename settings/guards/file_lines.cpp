#include "settings/guards/file_lines.h"

#include "korv_common/plugin_name.h"

namespace settings {

namespace {

// Windows errors, as winerror.h numbers them.
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kLockViolation = 33;
constexpr std::uint32_t kFileExists = 80;

std::string TemporaryName() {
    return HELMSHROUD_INI_NAME + std::string(kTemporarySuffix);
}

std::string WindowsError(std::uint32_t error) {
    return "Windows error " + std::to_string(error);
}

// Why a file did not open or read, as the platform answered.
std::string Cause(const FileFailure& failure) {
    if (failure.folder) {
        return "a folder of that name stands in its place";
    }
    std::string what = WindowsError(failure.windowsError);
    switch (failure.windowsError) {
    case kSharingViolation:
    case kLockViolation:
        return "another program holds it open and lets nobody read it (" + what + ")";
    case kAccessDenied:
        return "Windows denies the game reading it (" + what + ")";
    case kFileNotFound:
    case kPathNotFound:
        return "it is no longer there (" + what + ")";
    default:
        return what;
    }
}

std::string Found(TextForm form) {
    return form == TextForm::Utf8WithMark ? "begins with a UTF-8 byte-order mark, which hides its "
                                            "first section from Windows"
                                          : "is saved as UTF-16 big-endian, which Windows can't "
                                            "read";
}

// Why the temporary file could not be made, and what to do.
std::pair<std::string, std::string> TemporaryCause(const RewriteOutcome& outcome) {
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
std::pair<std::string, std::string> CauseAndRemedy(const RewriteOutcome& outcome) {
    if (outcome.failure == RewriteFailure::ReadOnly) {
        return {"it is marked read-only", "clear its read-only mark"};
    }
    if (outcome.failure == RewriteFailure::Held) {
        return {"another program holds it open", "close that program"};
    }
    if (outcome.failure == RewriteFailure::NoTemporary) {
        auto [cause, remedy] = TemporaryCause(outcome);
        return {"its temporary file " + TemporaryName() + " can't be made beside it (" + cause +
                    ")",
                remedy};
    }
    // A failed copy or replacement.
    return {WindowsError(outcome.windowsError), "load a game again"};
}

} // namespace

std::string UnreadableLine(const FileFailure& failure) {
    return "Install_Helmshroud :: Error: " HELMSHROUD_INI_NAME " can't be read: " + Cause(failure) +
           ". Nothing sent.";
}

std::string ReadsFailedLine(const FileFailure& failure) {
    return "Install_Helmshroud :: Error: Windows couldn't read " HELMSHROUD_INI_NAME ": " +
           Cause(failure) +
           ". Nothing sent, and the file was left as it is; the next game load reads it again.";
}

std::string CreationFailedLine(const RewriteOutcome& outcome) {
    std::string line = "Install_Helmshroud :: Error: couldn't make " HELMSHROUD_INI_NAME
                       ": its defaults go first into " +
                       TemporaryName() + " beside it, ";
    if (outcome.failure == RewriteFailure::NoTemporary) {
        auto [cause, remedy] = TemporaryCause(outcome);
        return line + "which can't be made: " + cause + "; " + remedy + ".";
    }
    if (outcome.failure == RewriteFailure::Copy) {
        return line + "and Windows refused to write them there (" +
               WindowsError(outcome.windowsError) + ").";
    }
    return line + "and that file couldn't take its place (" + WindowsError(outcome.windowsError) +
           ").";
}

std::string RewrittenLine(TextForm form) {
    std::string done = form == TextForm::Utf8WithMark
                           ? "Removed the mark; the rest of the file is as it was."
                           : "Rewrote it as UTF-16 LE with its byte-order mark; the text is as "
                             "it was.";
    return "Install_Helmshroud :: Warning: " HELMSHROUD_INI_NAME " " + Found(form) + ". " + done;
}

std::string RewriteFailedLine(TextForm form, const RewriteOutcome& outcome) {
    auto [cause, remedy] = CauseAndRemedy(outcome);
    return "Install_Helmshroud :: Error: " HELMSHROUD_INI_NAME " " + Found(form) +
           ", and it couldn't be rewritten: " + cause +
           ". Its values were sent as Windows read them, and the file was left as it is: " +
           remedy + ", or save the file as " + kFormsWindowsReads + ".";
}

} // namespace settings
