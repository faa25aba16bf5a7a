# Warnings are errors in every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror)
# __FILE__ reads as the path inside the repository, the same on every machine.
add_compile_options(-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=)
