# What `cmake --install` puts in place and what `make package` wraps into a Debian package:
# the two programs, the definition packages and the database scripts, the menu entry, the
# start at login for every user, the clock icon at the theme's sizes, the manual pages and
# the copyright. Included by the top CMakeLists.txt once the programs and packages exist.

include(GNUInstallDirs)

# Who answers for the package, in its control file and change log.
set(TOKEIYA_PACKAGE_MAINTAINER "Tokeiya maintainers <maintainers@tokeiya.example>"
    CACHE STRING "The Maintainer field of the Debian package")

install(TARGETS tokeiya tokeiya-dbsetup RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/Tokeiya.ggd ${PROJECT_BINARY_DIR}/Tokeiya.gfd
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tokeiya)
# The programs carry the scripts inside; these copies are for the administrator who sets up
# a server by hand or reads what the setup command runs.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/db/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tokeiya/db
        FILES_MATCHING PATTERN "*.sql")

# The program looks for its definitions in share/tokeiya beside its own bin/ first, so that
# the package works whatever prefix this build was configured with, and so does a copy
# unpacked under another root.
file(RELATIVE_PATH data_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/tokeiya)
target_sources(tokeiya PRIVATE ${PROJECT_SOURCE_DIR}/app/CommandLine.cpp)
target_compile_definitions(tokeiya PRIVATE TOKEIYA_VERSION="${PROJECT_VERSION}"
                                           TOKEIYA_DATA_FROM_BIN="${data_from_bin}")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(staged ${PROJECT_BINARY_DIR}/packaging)

install(FILES ${packaging}/tokeiya.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# For every user of the PC: the desktop starts it at login. An office that does not want
# that removes the file (dpkg keeps it removed across upgrades); one user overrides it with
# ~/.config/autostart/tokeiya.desktop holding Hidden=true.
install(FILES ${packaging}/tokeiya-autostart.desktop DESTINATION /etc/xdg/autostart
        RENAME tokeiya.desktop)

find_program(TOKEIYA_RSVG_CONVERT rsvg-convert)
if(NOT TOKEIYA_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert draws the icons: install librsvg2-bin (scripts/install-deps.sh)")
endif()
find_program(TOKEIYA_GZIP gzip REQUIRED)
set(generated "")
foreach(size 16 32 48 64 128 256)
    set(png ${staged}/icons/${size}/tokeiya.png)
    add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}/icons/${size}
        COMMAND ${TOKEIYA_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${packaging}/tokeiya.svg
        DEPENDS ${packaging}/tokeiya.svg
        VERBATIM)
    list(APPEND generated ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${packaging}/tokeiya.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages and the change log go compressed without a time stamp (gzip -n), so that the
# same tree gives the same package.
configure_file(${packaging}/changelog.in ${staged}/doc/changelog @ONLY)
foreach(page tokeiya.1 tokeiya-dbsetup.1 changelog)
    if(page STREQUAL "changelog")
        set(source ${staged}/doc/changelog)
    else()
        set(source ${packaging}/${page})
    endif()
    set(compressed ${staged}/doc/${page}.gz)
    add_custom_command(
        OUTPUT ${compressed}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${staged}/doc/${page}
        COMMAND ${TOKEIYA_GZIP} -9nf ${staged}/doc/${page}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND generated ${compressed})
endforeach()
add_custom_target(tokeiya_packaging ALL DEPENDS ${generated})
install(FILES ${staged}/doc/tokeiya.1.gz ${staged}/doc/tokeiya-dbsetup.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/copyright ${staged}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tokeiya)

# The Debian package. Installed under /usr whatever this build's prefix; DESTDIR staging so
# that the autostart entry's /etc path lands inside the package, not on this machine.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tokeiya)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TOKEIYA_PACKAGE_MAINTAINER})
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "attendance, schedule and pay for a small office
Tokeiya stamps an employee's arrival when the desktop session starts and the
departure when it ends, keeps the office's month schedule and time cards, and
computes the monthly pay list. Each PC runs its own copy: on an embedded SQLite
database by default, or on one PostgreSQL (or SQL Server) database shared by
the office.")
# The libraries come from dpkg-shlibdeps. The SQLite driver serves the embedded database
# every copy starts on; a Japanese Gothic font draws the screens.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsqliteodbc, fonts-ipafont-gothic | fonts-japanese-gothic")
# Printing on paper goes through the desktop's print service.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "odbc-postgresql, tdsodbc, cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
