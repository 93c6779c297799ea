# SPDX-License-Identifier: GPL-3.0-or-later
# Install rules for the program, its command-line companion, their manual
# pages, its desktop integration and its licence notes, and the Debian package
# built from them with `cpack -G DEB`. The emulator and the tests are
# development tools and stay out of both.
include(GNUInstallDirs)
include(cmake/manpages.cmake)

set(VELD_DESKTOP_NAME veld-usb-serial-programmer)
set(VELD_MAINTAINER "VELD-7316 programmer developers <veld7316-programmer@example.org>"
    CACHE STRING "The Debian package's maintainer: a name and an address")

install(TARGETS veld_usb_serial_programmer veld7316-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/linux/${VELD_DESKTOP_NAME}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon theme finds icons by name and size, so each size gets the same name.
set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES resources/images/orx_logo
        DESTINATION ${icon_dir}/32x32/apps RENAME ${VELD_DESKTOP_NAME}.png)
foreach(size 48 128)
    install(FILES resources/linux/${VELD_DESKTOP_NAME}-${size}.png
            DESTINATION ${icon_dir}/${size}x${size}/apps RENAME ${VELD_DESKTOP_NAME}.png)
endforeach()

# Debian's place for a package's copyright file and changelog, the latter
# compressed and dated by SOURCE_DATE_EPOCH when set.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${VELD_DESKTOP_NAME})
install(FILES resources/linux/copyright DESTINATION ${doc_dir})
string(TIMESTAMP VELD_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(resources/linux/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND gzip -9nkf changelog
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS ${CMAKE_BINARY_DIR}/changelog
    VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})

set(CPACK_PACKAGE_NAME ${VELD_DESKTOP_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VELD-7316 programmer developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration tool for the VELD-7316 stepper-motor driver")
# Lines of at most 80 characters, as Debian asks of a description.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Reads and changes the settings of a VELD-7316 stepper-motor driver module\n"
    "over its USB serial port: currents, microsteps, power stage and pulse\n"
    "generator, and saves, verifies and programs them through a plain-text\n"
    "configuration file. The command-line companion veld7316-cli reads, verifies\n"
    "and programs such files without the window, for scripts.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELD_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Library dependencies are read off the executable by dpkg-shlibdeps. Qt's X11
# platform plugin, loaded at run time, ships in the Gui library's package,
# which is among them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The narrow face the window takes where the desktop's font is too wide for its
# fixed layout; dpkg-shlibdeps adds the libraries to it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-extra)

include(CPack)
