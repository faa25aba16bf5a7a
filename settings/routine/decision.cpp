#include "settings/routine/decision.h"

namespace settings {

Decision Decide(bool readAfter, const SettingValues& read, const SettingsScan& scan,
                bool unwritable) {
    if (!readAfter) {
        return Decision::Skip;
    }
    if (!ValueOf(read, KeyBySendNumber(kDebugModeSendNumber)).empty()) {
        return Decision::Send;
    }
    // Wine's profile writer ends each name and value at its first NUL, so a file holding NUL
    // characters would lose the rest of those lines. A bDebugMode under a second [Settings] is the
    // player's, and a repair would stand above it.
    if (unwritable || scan.nulByte || UnreadValues(scan, read) != 0 ||
        (scan.laterSettingsKeys & DebugModeMask()) != 0) {
        return Decision::SendUnrepaired;
    }
    return Decision::Repair;
}

} // namespace settings
