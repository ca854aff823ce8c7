# Copies the shipped files of the runnable tree into the install prefix.
# Program-folder files are the program's own and are replaced; version files in
# the install folder are copied only where no file of that name exists yet.
cmake_policy(SET CMP0057 NEW) # if(... IN_LIST ...) in this script run by the install
set(source_install "${BYEORISOL_BUILD_DIR}/viewer")
set(target_install "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

file(GLOB program_files LIST_DIRECTORIES false "${source_install}/manager/*.mdb")
foreach(f IN LISTS program_files)
    file(INSTALL "${f}" DESTINATION "${target_install}/manager")
endforeach()

# Names are compared without regard to letter case: the viewer finds files that way.
file(GLOB existing LIST_DIRECTORIES true RELATIVE "${target_install}" "${target_install}/*")
string(TOLOWER "${existing}" existing_lower)
file(GLOB version_files LIST_DIRECTORIES false "${source_install}/*.DAT" "${source_install}/*.dat")
foreach(f IN LISTS version_files)
    get_filename_component(name "${f}" NAME)
    string(TOLOWER "${name}" name_lower)
    if(name_lower IN_LIST existing_lower)
        message(STATUS "Kept existing: ${target_install}/${name}")
    else()
        file(INSTALL "${f}" DESTINATION "${target_install}")
    endif()
endforeach()
