// The existence test's verdict on a failed query: which Windows errors mean "absent" and which
// "can't tell". Plain code, so it runs in the native build too.
#include "settings/ini/file_presence.h"

#include <doctest.h>

using settings::Presence;

TEST_CASE("Windows errors 2 and 3 and 53 and 123 mean absent and every other error unknown") {
    for (std::uint32_t error : {2u, 3u, 53u, 123u}) {
        CHECK(settings::PresenceForQueryError(error) == Presence::Absent);
    }
    for (std::uint32_t error : {5u, 32u, 66u, 1921u}) {
        CHECK(settings::PresenceForQueryError(error) == Presence::Unknown);
    }
}
