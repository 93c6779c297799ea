# SPDX-License-Identifier: GPL-3.0-or-later
# Manual pages, built with -DVELD_MAN_PAGES=ON (as `make package` does) and
# installed with the programs: veld7316-cli's written by Debian's help2man
# from its --help and --version, the window's, which has no options to
# describe, from a page of its own. Both dated by SOURCE_DATE_EPOCH when set.
option(VELD_MAN_PAGES "Build and install the manual pages (needs help2man)" OFF)
if(NOT VELD_MAN_PAGES)
    return()
endif()
find_program(VELD_HELP2MAN help2man)
if(NOT VELD_HELP2MAN)
    message(FATAL_ERROR "VELD_MAN_PAGES needs help2man (apt-get install help2man)")
endif()

set(man_dir ${CMAKE_BINARY_DIR}/man)
string(TIMESTAMP VELD_MAN_DATE "%B %Y" UTC)
configure_file(resources/linux/veld_usb_serial_programmer.1.in ${man_dir}/veld_usb_serial_programmer.1
               @ONLY)
add_custom_command(OUTPUT ${man_dir}/veld7316-cli.1.gz
    COMMAND ${VELD_HELP2MAN} --no-info --output veld7316-cli.1
            --name "read, verify and program the settings of a VELD-7316 stepper-motor driver"
            $<TARGET_FILE:veld7316-cli>
    COMMAND gzip -9nf veld7316-cli.1
    WORKING_DIRECTORY ${man_dir}
    DEPENDS veld7316-cli
    COMMENT "Writing veld7316-cli's manual page"
    VERBATIM)
add_custom_command(OUTPUT ${man_dir}/veld_usb_serial_programmer.1.gz
    COMMAND gzip -9nkf veld_usb_serial_programmer.1
    WORKING_DIRECTORY ${man_dir}
    DEPENDS ${man_dir}/veld_usb_serial_programmer.1
    VERBATIM)
add_custom_target(man_pages ALL
    DEPENDS ${man_dir}/veld7316-cli.1.gz ${man_dir}/veld_usb_serial_programmer.1.gz)
install(FILES ${man_dir}/veld7316-cli.1.gz ${man_dir}/veld_usb_serial_programmer.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
