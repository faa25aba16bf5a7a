# A player's machine has no MinGW runtime DLLs: libstdc++, libgcc and winpthread are linked into every
# binary, which then imports Windows system DLLs only. clang's driver does not add winpthread, which
# libstdc++'s threads and libgcc's thread-local storage need, so it is named after the C++ library.
add_link_options(-static -static-libgcc -static-libstdc++)
string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -lwinpthread")
add_compile_options(-ffunction-sections -fdata-sections)
