# The installed layout, as the install component "system", which a plain `cmake --install` leaves out:
#   cmake --install BUILD --component system --prefix /usr/local --strip
# bin/ holds the executables; share/byeorisol/ the shipped files, which the installed program copies into the user's
# install folder at its first start (it finds them as ../share/byeorisol from its bin folder); then the menu entry,
# icons, AppStream metainfo, manual pages and the package's documents. CPack makes the Debian package of it.
set(BYEORISOL_APP_ID org.example.byeorisol)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS byeorisol-manager byeorisol-data RUNTIME DESTINATION bin COMPONENT system EXCLUDE_FROM_ALL)
# The plugin that reaches SWORD's library, in ../lib/byeorisol/plugins from the programs, where they look for it (a
# folder of /usr/lib itself would have CPack call ldconfig for a library that is none).
install(TARGETS byeorisol-sword LIBRARY DESTINATION lib/byeorisol/plugins COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${BYEORISOL_INSTALL_FOLDER}/개역.DAT ${BYEORISOL_INSTALL_FOLDER}/user.dat
    DESTINATION share/byeorisol COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${BYEORISOL_PROGRAM_FOLDER}/null.mdb
    DESTINATION share/byeorisol/manager COMPONENT system EXCLUDE_FROM_ALL)

# Installs one file of the installed layout.
function(byeorisol_system_file file destination)
    install(FILES ${file} DESTINATION ${destination} COMPONENT system EXCLUDE_FROM_ALL)
endfunction()
byeorisol_system_file(${packaging}/${BYEORISOL_APP_ID}.desktop share/applications)
byeorisol_system_file(${packaging}/${BYEORISOL_APP_ID}.metainfo.xml share/metainfo)
byeorisol_system_file(${packaging}/${BYEORISOL_APP_ID}.svg share/icons/hicolor/scalable/apps)
byeorisol_system_file(${packaging}/copyright share/doc/byeorisol)

# Manual pages and the changelog, compressed as Debian wants them: gzip -9, no name or time in the header.
set(package_files)
foreach(file byeorisol-data.1 byeorisol-manager.1 changelog)
    add_custom_command(OUTPUT ${generated}/${file}.gz
        COMMAND gzip -9 -n -c ${packaging}/${file} > ${generated}/${file}.gz
        DEPENDS ${packaging}/${file}
        COMMENT "Compressing ${file}")
    list(APPEND package_files ${generated}/${file}.gz)
endforeach()
byeorisol_system_file(${generated}/byeorisol-data.1.gz share/man/man1)
byeorisol_system_file(${generated}/byeorisol-manager.1.gz share/man/man1)
byeorisol_system_file(${generated}/changelog.gz share/doc/byeorisol)

# The icon in the PNG sizes of the icon theme, drawn from the SVG by librsvg, the renderer of Debian's desktops; without
# rsvg-convert the installed layout has the SVG alone.
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
    foreach(size 16 24 32 48 64 128 256)
        set(png ${generated}/icons/${size}x${size}/${BYEORISOL_APP_ID}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
            COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${packaging}/${BYEORISOL_APP_ID}.svg
            DEPENDS ${packaging}/${BYEORISOL_APP_ID}.svg
            COMMENT "Drawing the ${size}x${size} icon")
        list(APPEND package_files ${png})
        byeorisol_system_file(${png} share/icons/hicolor/${size}x${size}/apps)
    endforeach()
else()
    message(STATUS "rsvg-convert not found (librsvg2-bin): the installed layout gets the SVG icon only")
endif()
add_custom_target(package-files ALL DEPENDS ${package_files})

# The Debian package (scripts/package): the component "system" under /usr, the executables stripped, the dependencies
# found by dpkg-shlibdeps from the libraries they link. Qt loads its platform plugins and the translations at run time,
# so what the libraries do not say is named here: the Korean font and Qt's Korean message-box buttons.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME byeorisol)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "벼리솔 개발팀")
set(CPACK_PACKAGE_CONTACT "벼리솔 개발팀 <byeorisol@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Korean manager of the Bible version files of the Byeorisol viewer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "The 벼리솔 성경자료 관리기 turns files into Bible version files of the\n"
    "Byeorisol viewer, after a check that lists every faulty line. It reads\n"
    "text files of one verse per line, IMP files (from SWORD's mod2imp), USFM,\n"
    "OSIS and Zefania XML. It edits single verses and keeps their history;\n"
    "finds and replaces text; repairs, compacts and deletes version files;\n"
    "exports them as text files, IMP, OSIS, Zefania or VPL; compares two\n"
    "versions and inspects their texts. Its windows and messages are in Korean.\n"
    "byeorisol-data does the same work on the command line, with the commands\n"
    "check, build, show, save, history, undo, redo, compact, repair, delete,\n"
    "export, report, compare, find, replace and inspect.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-nanum, qt6-translations-l10n")
# The package's architecture as dpkg names it, known here for the name of the package file that its test looks for.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE BYEORISOL_DEB_ARCHITECTURE
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${BYEORISOL_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};byeorisol;system;/")
set(CPACK_STRIP_FILES ON)
include(CPack)
