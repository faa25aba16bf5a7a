#include "settings/rewrite_lines.h"

#include "korv_common/plugin_name.h"

namespace settings {

namespace {

std::string Found(TextForm form) {
    return form == TextForm::Utf8WithMark ? "begins with a UTF-8 byte-order mark, which hides its "
                                            "first section from Windows"
                                          : "is saved as UTF-16 big-endian, which Windows can't "
                                            "read";
}

std::string WindowsError(const RewriteOutcome& outcome) {
    return "Windows error " + std::to_string(outcome.windowsError);
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
        return {"no new file can be made in its folder (" + WindowsError(outcome) + ")",
                "let the game write to its Data\\KORV\\Plugins folder"};
    }
    // A failed copy or replacement.
    return {WindowsError(outcome), "load a game again"};
}

} // namespace

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
           ". Nothing sent, and the file was left as it is: " + remedy + ", or save the file as " +
           kFormsWindowsReads + ".";
}

} // namespace settings
