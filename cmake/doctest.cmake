# doctest, for the cross-build's test programs and the native one. It is header-only; only its own
# folder goes on the include path (never the host's /usr/include).
find_path(DOCTEST_INCLUDE_DIR doctest.h PATHS /usr/include/doctest NO_CMAKE_FIND_ROOT_PATH REQUIRED)
include(/usr/lib/cmake/doctest/doctest.cmake)

# Each ctest test runs one doctest case by name. doctest exits with success when its filter matches
# nothing, so a test passes only when its summary shows exactly one case run and passed.
set(DOCTEST_ONE_CASE_PASSED "test cases: *1 [|] *1 passed [|] 0 failed")
