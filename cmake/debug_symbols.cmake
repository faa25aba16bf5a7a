# Debug symbols in the form the field's debuggers and crash loggers read: CodeView, gathered by lld
# into a PDB beside each binary that asks for one (add_pdb). Nothing of the machine or folder a build
# ran in may end up in a binary or its PDB, so that the same commit builds byte-identical files
# anywhere: source paths are written relative to the repository (the compilation folder as "."), the
# compiler's command line is left out, and the link carries no time stamp.
# GCC (the coverage build's compiler) writes no CodeView: its binaries get no PDB, and
# HELMSHROUD_MAKES_PDB tells the packaging so.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(HELMSHROUD_MAKES_PDB FALSE)
    # __FILE__ reads as the path inside the repository, as in the clang build.
    add_compile_options(-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=)
    function(add_pdb target)
    endfunction()
    return()
endif()
set(HELMSHROUD_MAKES_PDB TRUE)
add_compile_options(-g -gcodeview -gno-codeview-command-line -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                    -fdebug-compilation-dir=.)
# __FILE__ reads as the path inside the repository with forward slashes ("korv_common/Log.cpp", as
# the log's assertion line shows it), not with the Windows separators clang would give it.
add_compile_options(-fno-file-reproducible)

# Links target with its PDB, <name>.pdb beside it, named in the binary without a folder (and with the
# source and object paths below "."); then strips the DWARF sections the MinGW runtime's archives
# bring along, which leaves the code, the debug directory and so the PDB's match untouched.
function(add_pdb target)
    target_link_options(${target} PRIVATE -Wl,--pdb= -Wl,--no-insert-timestamp -Wl,-Xlink=-brepro
                                          -Wl,-Xlink=-pdbaltpath:%_PDB% -Wl,-Xlink=-pdbsourcepath:.)
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${LLVM_STRIP} --strip-debug $<TARGET_FILE:${target}>
                       VERBATIM)
endfunction()
