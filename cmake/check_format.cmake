# Fails when a C++ source of the project is not formatted with the repository's .clang-format.
# -DSOURCE_DIR=...
find_program(CLANG_FORMAT clang-format REQUIRED)
set(files)
foreach(folder host korv_common settings plugin sim tests)
    file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
    list(APPEND files ${found})
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE rc ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "run clang-format -i on these files:\n${out}")
endif()
