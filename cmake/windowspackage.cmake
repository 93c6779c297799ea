# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows release, built by `make windows`: an installer (an MSI, by
# Debian's wixl and msibuild) and a zip of the two programs for those who
# cannot install, both named after the project's version and both carrying
# the licence and the third-party notices, packed from a staging folder.
include(cmake/windowsnotices.cmake)

set(VELD_RELEASE_NAME veld-usb-serial-programmer-${PROJECT_VERSION}-windows-x64)
set(VELD_MSI ${CMAKE_BINARY_DIR}/${VELD_RELEASE_NAME}.msi)
set(VELD_ZIP ${CMAKE_BINARY_DIR}/${VELD_RELEASE_NAME}.zip)
# The same for every version, so that one installed version replaces another.
set(VELD_UPGRADE_CODE 5B0C2E7A-3F61-4D8E-9A47-7316C0DE0001)
set(staging ${CMAKE_BINARY_DIR}/windows-release)
set(wxs ${PROJECT_SOURCE_DIR}/resources/windows/veld-usb-serial-programmer.wxs)
set(icon ${PROJECT_SOURCE_DIR}/resources/veld_usb_serial_programmer.ico)
set(pack_msi ${PROJECT_SOURCE_DIR}/tools/scripts/pack-windows-msi.sh)
set(notices ${staging}/THIRD-PARTY-NOTICES.txt)
veld_windows_notices(${notices})
configure_file(LICENSE ${staging}/LICENSE.txt COPYONLY)

# The linker's map of each program: tests/windows/check-notices.sh reads from
# it which libraries the link pulled in.
foreach(program veld_usb_serial_programmer veld7316-cli)
    target_link_options(${program} PRIVATE -Wl,-Map=${CMAKE_BINARY_DIR}/${program}.map)
endforeach()

add_custom_command(OUTPUT ${VELD_MSI} ${VELD_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${VELD_ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:veld_usb_serial_programmer>
            $<TARGET_FILE:veld7316-cli> ${icon} ${staging}
    COMMAND sh ${pack_msi} . ${wxs} ${PROJECT_VERSION} ${VELD_UPGRADE_CODE} ${VELD_MSI}
    COMMAND zip -q ${VELD_ZIP} veld_usb_serial_programmer.exe veld7316-cli.exe LICENSE.txt
            THIRD-PARTY-NOTICES.txt
    WORKING_DIRECTORY ${staging}
    DEPENDS veld_usb_serial_programmer veld7316-cli ${wxs} ${icon} ${pack_msi} ${notices}
            ${staging}/LICENSE.txt
    COMMENT "Packing ${VELD_RELEASE_NAME}.msi and .zip"
    VERBATIM)
add_custom_target(windows_release DEPENDS ${VELD_MSI} ${VELD_ZIP})
