#pragma once
// What a settings run does, decided from the answers the platform gave: whether the file opened
// and read to its end once its values were read, and what the profile reads gave. The plugin's own
// reading of the file's text may hold the repair's write back; it never holds back a send.
#include "settings/diagnostics/settings_scan.h"

namespace settings {

enum class Decision {
    Skip,   // the file would not open, or not read to its end, after the reads: nothing is sent
    Send,   // bDebugMode read as a value: the values go out as read
    Repair, // bDebugMode read empty: it is written as 0 and read again, then the values go out
    // bDebugMode read empty, but the file is in a form the profile writer would damage (NUL
    // characters, a form whose rewrite failed), its text holds values the profile functions read
    // as empty, or a bDebugMode stands under a second [Settings]: the values go out as read, and
    // the file is left as it is.
    SendUnrepaired,
};

// readAfter: the file opened as the profile functions open it and read to its end after the reads;
// scan is that reading. unwritable: the file is in a form the profile writer would damage.
Decision Decide(bool readAfter, const SettingValues& read, const SettingsScan& scan,
                bool unwritable);

} // namespace settings
