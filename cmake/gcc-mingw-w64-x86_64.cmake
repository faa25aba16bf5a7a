# Cross-build for 64-bit Windows (x86_64-w64-mingw32) with Debian's MinGW-w64 GCC 12 (posix thread
# model) and GNU ld, over the same runtime the clang build links. Used for the coverage build only
# (GCC's counters and libgcov; clang has no profile runtime for this target): the release is built
# with clang-mingw-w64-x86_64.cmake. GCC writes DWARF, not CodeView, so this build makes no PDB and
# no release zip.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${MINGW_TRIPLE}-objdump)
# The simulated game's sink caller is built for the Microsoft C++ ABI, which only clang targets.
set(MSVC_ABI_COMPILER clang++-16)
set(MSVC_ABI_LINKER lld-link-16)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
