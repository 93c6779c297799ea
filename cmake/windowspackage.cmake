# The Windows release, built by `make windows`: an installer (an MSI, by
# Debian's wixl) and a zip of the two programs for those who cannot install,
# both named after the project's version, packed from a staging folder (wixl
# takes file names relative to the folder it runs in).
set(VELD_RELEASE_NAME veld-usb-serial-programmer-${PROJECT_VERSION}-windows-x64)
set(VELD_MSI ${CMAKE_BINARY_DIR}/${VELD_RELEASE_NAME}.msi)
set(VELD_ZIP ${CMAKE_BINARY_DIR}/${VELD_RELEASE_NAME}.zip)
set(staging ${CMAKE_BINARY_DIR}/windows-release)
set(wxs ${PROJECT_SOURCE_DIR}/resources/windows/veld-usb-serial-programmer.wxs)
set(icon ${PROJECT_SOURCE_DIR}/resources/veld_usb_serial_programmer.ico)
file(MAKE_DIRECTORY ${staging})

add_custom_command(OUTPUT ${VELD_MSI} ${VELD_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${VELD_MSI} ${VELD_ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:veld_usb_serial_programmer>
            $<TARGET_FILE:veld7316-cli> ${icon} ${staging}
    COMMAND wixl --arch x64 --output ${VELD_MSI} --define Version=${PROJECT_VERSION}
            --define Program=veld_usb_serial_programmer.exe --define Cli=veld7316-cli.exe
            --define Icon=veld_usb_serial_programmer.ico ${wxs}
    COMMAND zip -q ${VELD_ZIP} veld_usb_serial_programmer.exe veld7316-cli.exe
    WORKING_DIRECTORY ${staging}
    DEPENDS veld_usb_serial_programmer veld7316-cli ${wxs} ${icon}
    COMMENT "Packing ${VELD_RELEASE_NAME}.msi and .zip"
    VERBATIM)
add_custom_target(windows_release DEPENDS ${VELD_MSI} ${VELD_ZIP})
