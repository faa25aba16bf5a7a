# Unpacks the release zip and checks the packaged DLL and PDB as debuggers and crash loggers meet
# them: a DLL under 256 KiB without DWARF sections, a PDB that names no folder of the machine that
# built it, and dbghelp reading the plugin's functions and lines from it (the Windows probe).
# -DZIP=... -DWINE_RUN=... -DWINE_ROOT=... -DPROBE=... -DOBJDUMP=... -DWORK=... -DSOURCE_DIR=...
# -DBINARY_DIR=...
include(${CMAKE_CURRENT_LIST_DIR}/unpack_release.cmake)
unpack_release("${ZIP}" "${WORK}" WORK)
set(dll "${WORK}/Data/KORV/Plugins/Helmshroud.dll")
file(SIZE "${dll}" size)
execute_process(COMMAND ${OBJDUMP} -h "${dll}" OUTPUT_VARIABLE sections COMMAND_ERROR_IS_FATAL ANY)
if(NOT size LESS 262144 OR sections MATCHES "\\.debug_" OR NOT sections MATCHES "\\.text")
    message(FATAL_ERROR "the DLL has ${size} bytes (256 KiB at most) and these sections:\n${sections}")
endif()
foreach(folder "${SOURCE_DIR}" "${BINARY_DIR}")
    file(STRINGS "${WORK}/Data/KORV/Plugins/Helmshroud.pdb" found REGEX "${folder}")
    if(found)
        message(FATAL_ERROR "the PDB names the build machine's folder ${folder}: ${found}")
    endif()
endforeach()

execute_process(COMMAND "${WINE_RUN}" "${WINE_ROOT}" "${PROBE}" "Z:${dll}" "Z:${SOURCE_DIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the packaged DLL and PDB do not read as released")
endif()
file(REMOVE_RECURSE "${WORK}")
