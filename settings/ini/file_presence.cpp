#include "settings/ini/file_presence.h"

namespace settings {

Presence PresenceForQueryError(std::uint32_t windowsError) {
    switch (windowsError) {
    case 2:   // file not found
    case 3:   // path not found
    case 53:  // bad network path
    case 123: // invalid name
        return Presence::Absent;
    default:
        return Presence::Unknown;
    }
}

} // namespace settings
