# The release package players and mod managers install: Helmshroud-<version>.zip with Data/ at its
# root and the player's readme beside it.
install(FILES $<TARGET_FILE:helmshroud> DESTINATION Data/KORV/Plugins)
install(FILES ${PROJECT_SOURCE_DIR}/docs/player-readme.txt DESTINATION . RENAME Helmshroud-README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Helmshroud)
set(CPACK_PACKAGE_VENDOR "The Helmshroud developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(HELMSHROUD_PACKAGE_FILE ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
include(CPack)
