# The product's code (the DLL and every library of it, which test programs link too) built once more
# with checks or counters, each build in a folder of its own (presets "ub-trap" and "coverage"). The
# release leaves HELMSHROUD_INSTRUMENT empty and is not touched; the simulator and the tests are
# built as for the release in every build: what is checked or measured is the plugin.
#   ub-trap   clang's undefined-behaviour checks (-fsanitize=undefined), each compiled to a trap
#             instruction where it fails: the process dies with an illegal instruction, which the
#             suite sees as a crash. No runtime library. clang-16 keeps, for this target: alignment,
#             array-bounds, bool, builtin, enum, float-cast-overflow, integer-divide-by-zero,
#             nonnull-attribute, null, object-size, pointer-overflow, return,
#             returns-nonnull-attribute, shift, signed-integer-overflow, unreachable, vla-bound.
#             Left out: vptr (a member call or cast on an object of the wrong dynamic type) needs
#             the sanitizer runtime's type information and cannot trap (clang drops it from the
#             group in trap mode and refuses it named), and function (a call through a pointer of
#             the wrong function type) is not supported for MinGW targets.
#   coverage  GCC's line and branch counters (the GCC toolchain file), which libgcov adds to .gcda
#             files beside the objects when a process ends, one process at a time
#             (coverage_dump_win32.cpp). Atomic, since the plugin's threads run the same lines at
#             once. Unoptimised: optimised, GCC inlines the library's string code into the plugin's
#             lines (a string on the heap or not, the unwinding of its temporaries), which gives a
#             line that passes a string a dozen branches of the library's, and folds some of the
#             plugin's own lines and branches into others. Unoptimised, each line and branch counted
#             is one of the source's; what the release's optimised code does is checked by ub-trap.
set(HELMSHROUD_INSTRUMENT "" CACHE STRING "The product's code built with: nothing, ub-trap or coverage")

if(HELMSHROUD_INSTRUMENT STREQUAL "")
    return()
elseif(HELMSHROUD_INSTRUMENT STREQUAL "ub-trap")
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "HELMSHROUD_INSTRUMENT=ub-trap needs the clang toolchain file")
    endif()
    set(instrument_compile -fsanitize=undefined -fsanitize-trap=undefined)
    set(instrument_link "")
    set(instrument_libraries "")
elseif(HELMSHROUD_INSTRUMENT STREQUAL "coverage")
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        message(FATAL_ERROR "HELMSHROUD_INSTRUMENT=coverage needs the GCC toolchain file")
    endif()
    set(instrument_compile --coverage -fprofile-update=atomic -O0)
    set(instrument_link --coverage -Wl,--wrap=__gcov_exit)
    add_library(coverage_dump STATIC ${CMAKE_CURRENT_LIST_DIR}/coverage_dump_win32.cpp)
    set(instrument_libraries coverage_dump)
else()
    message(FATAL_ERROR "HELMSHROUD_INSTRUMENT is '${HELMSHROUD_INSTRUMENT}': nothing, ub-trap or coverage")
endif()

# Every library and binary defined in the product's folders, found rather than listed, so that a new
# library of the plugin's is instrumented too.
function(instrument_folder folder)
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "STATIC_LIBRARY")
            target_compile_options(${target} PRIVATE ${instrument_compile})
            # Whoever links the library links the runtime its counters need.
            target_link_options(${target} INTERFACE ${instrument_link})
            target_link_libraries(${target} INTERFACE ${instrument_libraries})
        elseif(type MATCHES "^(SHARED_LIBRARY|MODULE_LIBRARY|EXECUTABLE)$")
            target_compile_options(${target} PRIVATE ${instrument_compile})
            target_link_options(${target} PRIVATE ${instrument_link})
            target_link_libraries(${target} PRIVATE ${instrument_libraries})
        endif()
    endforeach()
    get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    foreach(subfolder IN LISTS subfolders)
        instrument_folder(${subfolder})
    endforeach()
endfunction()
foreach(folder host korv_common settings plugin)
    instrument_folder(${CMAKE_SOURCE_DIR}/${folder})
endforeach()
