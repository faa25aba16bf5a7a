// The existence test's verdict on a failed query: which Windows errors mean "absent" and which
// "can't tell". Plain code, so it runs in the native build too.
#include "settings/ini/file_presence.h"

#include <doctest.h>

using settings::Presence;

TEST_CASE("Windows errors 2 and 3 and 53 and 123 mean absent and every other error unknown") {
    CHECK(settings::PresenceForQueryError(2) == Presence::Absent);
    CHECK(settings::PresenceForQueryError(3) == Presence::Absent);
    CHECK(settings::PresenceForQueryError(53) == Presence::Absent);
    CHECK(settings::PresenceForQueryError(123) == Presence::Absent);

    CHECK(settings::PresenceForQueryError(5) == Presence::Unknown);
    CHECK(settings::PresenceForQueryError(32) == Presence::Unknown);
    CHECK(settings::PresenceForQueryError(66) == Presence::Unknown);
    CHECK(settings::PresenceForQueryError(1921) == Presence::Unknown);
}
