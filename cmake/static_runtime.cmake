# A player's machine has no MinGW runtime DLLs: libstdc++, libgcc and winpthread are linked into every
# binary, which then imports Windows system DLLs only.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_options(-ffunction-sections -fdata-sections)
