#include "settings/routine/decision.h"

namespace settings {

namespace {

using Hold = Decision::Hold;

// The first line, in file order, of a value the profile functions read as empty.
std::size_t FirstUnread(const SettingsScan& scan, KeyMask unread) {
    std::size_t first = 0;
    for (std::size_t i = 0; i < scan.keyLines.size(); ++i) {
        std::size_t number = scan.keyLines[i].number;
        if ((unread & (KeyMask{1} << i)) != 0 && (first == 0 || number < first)) {
            first = number;
        }
    }
    return first;
}

} // namespace

Decision Decide(const SettingValues& read, const SettingsScan& scan, const FileFacts& facts) {
    if (!ValueOf(read, KeyBySendNumber(kDebugModeSendNumber)).empty()) {
        return {};
    }
    if (facts.unwritable) {
        return {false, Hold::Unwritable};
    }
    if (facts.tooLarge) {
        return {false, Hold::TooLarge};
    }
    // Wine's profile writer ends each name and value at its first NUL, so a file holding NUL
    // characters would lose the rest of those lines.
    if (scan.nulLine != 0) {
        return {false, Hold::Nul, scan.nulLine};
    }
    if (KeyMask unread = UnreadValues(scan, read); unread != 0) {
        return {false, Hold::Unread, FirstUnread(scan, unread)};
    }
    if (scan.strayDebugMode.number != 0) {
        return {false, Hold::Stray, scan.strayDebugMode.number};
    }
    // A write of a key into a section the profile functions don't see adds that section at the
    // end: a second [Settings] line where the text has one.
    if (scan.settingsLine.number != 0 && !facts.settingsListed) {
        return {false, Hold::Unseen, scan.settingsLine.number};
    }
    return {true};
}

} // namespace settings
