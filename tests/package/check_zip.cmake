# Opens the release zip and checks its layout, then the version resource of the DLL inside it.
# -DZIP=... -DWINE_RUN=... -DWINE_ROOT=... -DPROBE=... -DWORK=...
if(NOT EXISTS "${ZIP}")
    message(FATAL_ERROR "no release package at ${ZIP}: the build makes it (scripts/setup builds)")
endif()
get_filename_component(name "${ZIP}" NAME)
if(NOT name STREQUAL "Helmshroud-1.1.0.zip")
    message(FATAL_ERROR "the package is named ${name}, not Helmshroud-1.1.0.zip")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf "${ZIP}" OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot list ${ZIP}")
endif()
string(REPLACE "\n" ";" entries "${listing}")
set(files)
foreach(entry IN LISTS entries)
    if(entry AND NOT entry MATCHES "/$")
        list(APPEND files "${entry}")
    endif()
endforeach()
list(SORT files)
set(expected "Data/KORV/Plugins/Helmshroud.dll;Data/KORV/Plugins/Helmshroud.pdb;Helmshroud-README.txt")
if(NOT files STREQUAL expected)
    message(FATAL_ERROR "the zip holds [${files}], expected [${expected}]")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/unpack_release.cmake)
unpack_release("${ZIP}" "${WORK}" WORK)

file(READ "${WORK}/Helmshroud-README.txt" readme)
foreach(needle "Data\\KORV\\Plugins\\Helmshroud.ini" "Helmshroud.log" "bDebugMode" "Helmshroud.pdb"
               "iIsCurrentWeatherIsPotentiallyHazardous" "Called SendIniData"
               "When something is wrong" "Did you mean" "InstallWorker :: Error:"
               "Linux and Proton" "compatdata/<the game's app id>/pfx/drive_c/users/steamuser/")
    string(FIND "${readme}" "${needle}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the player's readme does not mention ${needle}")
    endif()
endforeach()

execute_process(COMMAND "${WINE_RUN}" "${WINE_ROOT}" "${PROBE}" "Z:${WORK}/Data/KORV/Plugins/Helmshroud.dll"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the packaged DLL's version resource is not as released")
endif()
file(REMOVE_RECURSE "${WORK}")
