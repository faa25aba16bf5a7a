# Unpacks the release zip and reads the packaged DLL and PDB as debuggers and crash loggers do (the
# Windows probe), and checks the PDB names no folder of the machine that built it.
# -DZIP=... -DWINE_RUN=... -DWINE_ROOT=... -DPROBE=... -DWORK=... -DSOURCE_DIR=... -DBINARY_DIR=...
include(${CMAKE_CURRENT_LIST_DIR}/unpack_release.cmake)
unpack_release("${ZIP}" "${WORK}" WORK)
set(pdb "${WORK}/Data/KORV/Plugins/Helmshroud.pdb")
foreach(folder "${SOURCE_DIR}" "${BINARY_DIR}")
    file(STRINGS "${pdb}" found REGEX "${folder}")
    if(found)
        message(FATAL_ERROR "the PDB names the build machine's folder ${folder}: ${found}")
    endif()
endforeach()

execute_process(COMMAND "${WINE_RUN}" "${WINE_ROOT}" "${PROBE}" "Z:${WORK}/Data/KORV/Plugins/Helmshroud.dll"
                        "Z:${SOURCE_DIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the packaged DLL and PDB do not read as released")
endif()
file(REMOVE_RECURSE "${WORK}")
