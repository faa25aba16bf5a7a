# Warnings are errors in every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 warns of overlapping copies inside libstdc++'s string concatenation at -O3 where there
    # are none (its bug 105651); the warning is left to clang's builds. Its -Wextra also flags the
    # cast of GetProcAddress's result to the function's own type, which is how Windows code reaches
    # a function it looks up; clang's -Wextra does not.
    add_compile_options(-Wno-restrict -Wno-cast-function-type)
endif()
