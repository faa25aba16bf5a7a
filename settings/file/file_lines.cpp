#include "settings/file/file_lines.h"

#include "catalogue/log_lines.h"
#include "settings/line_text.h"

namespace settings {

namespace {

using Step = FileStatus::Step;

// Windows errors, as winerror.h numbers them.
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kLockViolation = 33;
constexpr std::uint32_t kFileExists = 80;

// Why the file did not open or read, as the platform answered.
std::string ReadCause(const FileStatus& status) {
    if (status.folder) {
        return lines::kCauseFolder;
    }
    const char* cause = lines::kWindowsError;
    switch (status.error) {
    case kSharingViolation:
    case kLockViolation:
        cause = lines::kCauseHeld;
        break;
    case kAccessDenied:
        cause = lines::kCauseDenied;
        break;
    case kFileNotFound:
    case kPathNotFound:
        cause = lines::kCauseGone;
        break;
    default:
        break;
    }
    return LineText(cause, unsigned{status.error});
}

struct CauseAndRemedy {
    std::string cause;
    const char* remedy;
};

// Why the temporary file could not be made, and what to do.
CauseAndRemedy TemporaryCause(const FileStatus& status) {
    if (status.folder) {
        return {lines::kTemporaryFolder, lines::kRemoveIt};
    }
    if (status.error == kFileExists) {
        return {lines::kTemporaryFile, lines::kRemoveOrRename};
    }
    if (status.error == kPathNotFound) {
        return {lines::kNoPluginFolder, lines::kReinstall};
    }
    return {LineText(lines::kWindowsError, unsigned{status.error}), lines::kLetGameWrite};
}

// Why the rewrite failed, and the first thing to try.
CauseAndRemedy RewriteCause(const FileStatus& status) {
    switch (status.failed) {
    case Step::ReadOnly:
        return {lines::kReadOnly, lines::kClearReadOnly};
    case Step::Held:
        return {lines::kHeldOpen, lines::kCloseProgram};
    case Step::Changed:
        return {lines::kChanged, lines::kLoadAgain};
    case Step::Temporary: {
        CauseAndRemedy temporary = TemporaryCause(status);
        return {LineText(lines::kNoTemporary, temporary.cause.c_str()), temporary.remedy};
    }
    default: // a failed write or replacement
        return {LineText(lines::kWindowsError, unsigned{status.error}), lines::kLoadAgain};
    }
}

} // namespace

std::string UnreadableLine(const FileStatus& status) {
    return LineText(lines::kUnreadable, ReadCause(status).c_str());
}

std::string CreationFailedLine(const FileStatus& status) {
    if (status.failed == Step::Temporary) {
        CauseAndRemedy temporary = TemporaryCause(status);
        return LineText(lines::kNotMadeTemporary, temporary.cause.c_str(), temporary.remedy);
    }
    return LineText(status.failed == Step::Write ? lines::kNotMadeWrite : lines::kNotMadePlace,
                    unsigned{status.error});
}

std::string RewriteLine(TextForm form, const FileStatus& status) {
    bool mark = form == TextForm::Utf8WithMark;
    if (status.Ok()) {
        return mark ? lines::kMarkRemoved : lines::kBigEndianRewritten;
    }
    CauseAndRemedy failed = RewriteCause(status);
    return LineText(lines::kNotRewritten, mark ? lines::kFoundMark : lines::kFoundBigEndian,
                    failed.cause.c_str(), failed.remedy);
}

} // namespace settings
