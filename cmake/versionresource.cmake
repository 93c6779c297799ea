# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows version block of an executable, its numbers taken from the
# project's version (four of them, the fourth 0 unless the version has one):
#   veld_version_resource(<target> <description> <name> [<icon>])
# writes <target>.rc into the build tree, where tests/windres_check.sh reads
# it, and compiles it into a Windows build of <target>. <name> is both the
# internal and the product name.
set(VELD_VERSION_NUMBERS ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH})
if(PROJECT_VERSION_TWEAK STREQUAL "")
    list(APPEND VELD_VERSION_NUMBERS 0)
else()
    list(APPEND VELD_VERSION_NUMBERS ${PROJECT_VERSION_TWEAK})
endif()

function(veld_version_resource target description name)
    set(VELD_RC_FILE ${target}.exe)
    set(VELD_RC_DESCRIPTION ${description})
    set(VELD_RC_NAME ${name})
    list(JOIN VELD_VERSION_NUMBERS , VELD_RC_NUMBERS)
    list(JOIN VELD_VERSION_NUMBERS . VELD_RC_VERSION)
    set(VELD_RC_ICON "")
    if(ARGC GREATER 3)
        set(VELD_RC_ICON "IDI_ICON1 ICON \"${ARGV3}\"")
    endif()
    set(script ${CMAKE_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/versioninfo.rc.in ${script} @ONLY)
    if(WIN32)
        target_sources(${target} PRIVATE ${script})
    endif()
endfunction()
