# Opens the release zip and checks its name and layout, the readme's title, then the version
# resource of the DLL inside it. VERSION is project()'s, a.b.c.d; players see the release as a.b.c.
# -DZIP=... -DVERSION=... -DWINE_RUN=... -DWINE_ROOT=... -DPROBE=... -DWORK=...
if(NOT EXISTS "${ZIP}")
    message(FATAL_ERROR "no release package at ${ZIP}: the build makes it (scripts/setup builds)")
endif()
if(NOT VERSION MATCHES "^([0-9]+\\.[0-9]+\\.[0-9]+)\\.[0-9]+$")
    message(FATAL_ERROR "the version ${VERSION} is not four numbers a.b.c.d")
endif()
set(release "${CMAKE_MATCH_1}")
get_filename_component(name "${ZIP}" NAME)
if(NOT name STREQUAL "Helmshroud-${release}.zip")
    message(FATAL_ERROR "the package is named ${name}, not Helmshroud-${release}.zip")
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
string(REGEX MATCH "^[^\r\n]*" title "${readme}")
string(FIND "${title}" "Helmshroud ${release} - " at)
if(NOT at EQUAL 0 OR readme MATCHES [[@VERSION@]])
    message(FATAL_ERROR "the player's readme is titled \"${title}\", not for release ${release}, "
                        [[or still holds @VERSION@]])
endif()
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
                        "${VERSION}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the packaged DLL's version resource is not as released")
endif()
file(REMOVE_RECURSE "${WORK}")
