// A long soak of game loads, run by scripts/soak and not by the test run. The loads are 15 ms
// apart: a run of the settings routine takes about 10 ms under Wine, so the workers keep up
// and the number of threads alive at once stays near 2000 / 15 like in the test run.
#include "tests/load/load_run.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("5000 game loads 15 ms apart make 5000 whole runs and leave the handles and memory "
          "where they started") {
    CheckManyLoads({5000, 15, 300000, 500});
}
