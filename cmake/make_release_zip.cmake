# Packs the release zip and writes SHA256SUMS beside it. The same commit gives the same bytes on any
# machine, in any folder, at any time: the entries go in a fixed order, each with mode 0644 and the
# commit's date (in UTC), and without zip's extra fields (owner ids, further time stamps).
# cmake -DZIP_PROGRAM=... -DSOURCE_DIR=... -DDLL=... -DPDB=... -DREADME=... -DVERSION=... -DZIP=...
#       -P this file
execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
                OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT commit_time MATCHES "^[0-9]+$")
    message(FATAL_ERROR "the release zip takes its date from the commit: build from a git clone")
endif()

get_filename_component(package_dir "${ZIP}" DIRECTORY)
set(stage "${package_dir}/stage")
set(entries Data/KORV/Plugins/Helmshroud.dll Data/KORV/Plugins/Helmshroud.pdb Helmshroud-README.txt)
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}/Data/KORV/Plugins")
file(COPY_FILE "${DLL}" "${stage}/Data/KORV/Plugins/Helmshroud.dll")
file(COPY_FILE "${PDB}" "${stage}/Data/KORV/Plugins/Helmshroud.pdb")
# The readme's title says @VERSION@ in the source, so that a version bump is the one line of
# project(); the packed readme names the release instead. The placeholder is a bracket argument
# because a script run with -P expands @NAME@ inside quotes.
file(READ "${README}" readme)
string(REPLACE [[@VERSION@]] "${VERSION}" readme "${readme}")
file(WRITE "${stage}/Helmshroud-README.txt" "${readme}")
foreach(entry IN LISTS entries)
    file(CHMOD "${stage}/${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    execute_process(COMMAND touch -d "@${commit_time}" "${stage}/${entry}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# zip adds to an archive that exists; -X leaves out the extra fields, -D the folder entries.
file(REMOVE "${ZIP}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC "${ZIP_PROGRAM}" -q -X -D "${ZIP}" ${entries}
                WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)

get_filename_component(zip_name "${ZIP}" NAME)
set(sums "")
foreach(file IN ITEMS "${ZIP}" "${stage}/Data/KORV/Plugins/Helmshroud.dll"
                      "${stage}/Data/KORV/Plugins/Helmshroud.pdb")
    file(SHA256 "${file}" hash)
    string(REPLACE "${stage}/" "" name "${file}")
    string(REPLACE "${package_dir}/" "" name "${name}")
    string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${package_dir}/SHA256SUMS" "${sums}")
