#pragma once
// Whether a settings run writes the bDebugMode repair, decided from what the profile functions
// read. The plugin's own reading of the file's text may hold the write back; it never holds back a
// send: a run that read the file sends the values as read.
#include "settings/diagnostics/settings_scan.h"

namespace settings {

struct Decision {
    // Why a bDebugMode read empty is not written as 0.
    enum class Hold {
        None,
        Unwritable, // the file is in a form Windows can't read, and its rewrite failed
        TooLarge,   // the file is too large to be read, so nothing tells a write is safe
        Nul,        // a NUL character, at which Wine's writer cuts its line
        Unread,     // the text holds a value the profile functions read as empty
        Stray,      // a bDebugMode stands where no reader looks, and a repair would hide it
        Unseen,     // the text's [Settings] line is not a section to the profile functions
    };
    bool repair = false; // bDebugMode read empty, and nothing holds the write back
    Hold hold = Hold::None;
    std::size_t line = 0; // the line that holds it back
};

// What the file is, besides its text.
struct FileFacts {
    bool unwritable = false;
    bool tooLarge = false;
    // Whether the profile functions list a [Settings] section: asked only where it matters.
    bool settingsListed = true;
};

Decision Decide(const SettingValues& read, const SettingsScan& scan, const FileFacts& facts);

} // namespace settings
