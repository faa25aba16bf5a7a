# The release package players and mod managers install: build/package/Helmshroud-<version>.zip with
# Data/ at its root (the DLL and its PDB where the extender, debuggers and crash loggers look for
# them) and the player's readme beside it; SHA256SUMS beside the zip lets a player check that a
# download is what this source builds. Made with every build that makes the PDB (the clang builds),
# byte-identical for the same commit.
if(NOT HELMSHROUD_MAKES_PDB)
    return()
endif()
# Players know a release by three numbers (the fourth, the tweak, is the DLL's alone): the zip's name
# and the readme's title give them.
set(HELMSHROUD_RELEASE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(HELMSHROUD_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(HELMSHROUD_PACKAGE_FILE ${HELMSHROUD_PACKAGE_DIR}/Helmshroud-${HELMSHROUD_RELEASE_VERSION}.zip)
set(HELMSHROUD_PDB $<TARGET_FILE_DIR:helmshroud>/Helmshroud.pdb)
find_program(ZIP_PROGRAM zip REQUIRED)

add_custom_command(
    OUTPUT ${HELMSHROUD_PACKAGE_FILE} ${HELMSHROUD_PACKAGE_DIR}/SHA256SUMS
    COMMAND ${CMAKE_COMMAND} -DZIP_PROGRAM=${ZIP_PROGRAM} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DDLL=$<TARGET_FILE:helmshroud> -DPDB=${HELMSHROUD_PDB}
            -DREADME=${PROJECT_SOURCE_DIR}/docs/player-readme.txt -DVERSION=${HELMSHROUD_RELEASE_VERSION}
            -DZIP=${HELMSHROUD_PACKAGE_FILE}
            -P ${CMAKE_CURRENT_LIST_DIR}/make_release_zip.cmake
    DEPENDS helmshroud ${PROJECT_SOURCE_DIR}/docs/player-readme.txt
            ${CMAKE_CURRENT_LIST_DIR}/make_release_zip.cmake
    COMMENT "Packing ${HELMSHROUD_PACKAGE_FILE}"
    VERBATIM)
add_custom_target(release_zip ALL DEPENDS ${HELMSHROUD_PACKAGE_FILE})
