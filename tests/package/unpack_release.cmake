# unpack_release(ZIP WORK OUT): unpacks the release zip into a fresh folder of this run's own,
# WORK-<random> (two test runs in one build folder must not clear each other's), and sets OUT to it.
function(unpack_release zip work out)
    string(RANDOM LENGTH 8 ALPHABET 0123456789abcdef run)
    set(folder "${work}-${run}")
    file(REMOVE_RECURSE "${folder}")
    file(MAKE_DIRECTORY "${folder}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${zip}" WORKING_DIRECTORY "${folder}"
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cannot unpack ${zip}")
    endif()
    set(${out} "${folder}" PARENT_SCOPE)
endfunction()
