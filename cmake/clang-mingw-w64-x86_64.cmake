# Cross-build for 64-bit Windows (x86_64-w64-mingw32) with Debian's clang-16 and lld-16, over the
# MinGW-w64 runtime of Debian's GCC 12 (posix thread model): GCC's libstdc++ headers and archives,
# libgcc and winpthread, all linked statically (see static_runtime.cmake). clang finds the MinGW-w64
# headers and import libraries under /usr/x86_64-w64-mingw32 by itself, but not GCC's C++ library,
# so its folders are named here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_GCC_DIR /usr/lib/gcc/${MINGW_TRIPLE}/12-posix)

set(CMAKE_C_COMPILER clang-16)
set(CMAKE_CXX_COMPILER clang++-16)
set(CMAKE_C_COMPILER_TARGET ${MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_TRIPLE})
# binutils' windres: its resource objects carry no time stamp or path, so the linked resource
# section is the same on every machine.
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${MINGW_TRIPLE}-objdump)
set(LLVM_STRIP llvm-strip-16)
# Build and link the one piece made for the Microsoft C++ ABI (the simulated game's sink caller).
set(MSVC_ABI_COMPILER clang++-16)
set(MSVC_ABI_LINKER lld-link-16)

set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${MINGW_GCC_DIR}/include/c++ -isystem ${MINGW_GCC_DIR}/include/c++/${MINGW_TRIPLE}")
# lld, and GCC's folder for libstdc++, libgcc and libgcc_eh.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld-16 -L${MINGW_GCC_DIR}")
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
