# A player's machine has Windows' own DLLs and nothing else: check_windows_imports(target) adds a
# native test that fails when the target's binary imports a MinGW runtime DLL (lib*.dll).
set(WINDOWS_IMPORTS_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/check_windows_imports.cmake)

function(check_windows_imports target)
    add_test(NAME "${target} imports only Windows system DLLs"
             COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DFILES=$<TARGET_FILE:${target}>
                     -P ${WINDOWS_IMPORTS_SCRIPT})
endfunction()
