# SPDX-License-Identifier: GPL-3.0-or-later
# THIRD-PARTY-NOTICES.txt of the Windows release, written at configure time:
#   veld_windows_notices(<file>)
# resources/windows/notices/notices.txt.in filled in with what this build
# really uses (the static Qt's recipe and the Debian version of its qtbase
# source, both recorded in the Qt folder by build-windows-qt.sh; the Debian
# packages of the cross compiler and of the mingw-w64 runtime), then the
# licence texts: those of Qt's components from resources/windows/notices/texts
# (taken from qtbase's source), the GCC Runtime Library Exception and
# mingw-w64's terms from those packages' copyright files on this machine.
function(veld_windows_notices output)
    set(notices ${PROJECT_SOURCE_DIR}/resources/windows/notices)
    set(recipe_file ${VELD_WINDOWS_QT}/veld-build-complete)
    set(source_file ${VELD_WINDOWS_QT}/veld-qtbase-source)
    set(gcc_copyright /usr/share/doc/gcc-mingw-w64-base/copyright)
    set(mingw_copyright /usr/share/doc/mingw-w64-x86-64-dev/copyright)
    file(GLOB texts ${notices}/texts/*.txt)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${recipe_file} ${gcc_copyright} ${mingw_copyright} ${texts})

    # "Qt 5.15.8; qtserialport <tarball>; <configure options>"
    file(READ ${recipe_file} recipe)
    if(NOT recipe MATCHES "^Qt ([^;]+); qtserialport ([^;]+); ([^\n]*)")
        message(FATAL_ERROR "${recipe_file} does not read as build-windows-qt.sh writes it")
    endif()
    set(VELD_QT_VERSION ${CMAKE_MATCH_1})
    set(VELD_QTSERIALPORT_TARBALL ${CMAKE_MATCH_2})
    set(VELD_QT_CONFIGURE ${CMAKE_MATCH_3})
    if(EXISTS ${source_file})
        file(STRINGS ${source_file} VELD_QTBASE_SOURCE LIMIT_COUNT 1)
    else()
        message(WARNING "${VELD_WINDOWS_QT} was built before build-windows-qt.sh recorded the "
                        "Debian version of its qtbase source; the notices name bookworm's")
        set(VELD_QTBASE_SOURCE "${VELD_QT_VERSION}+dfsg-*, its Debian revision not recorded with this Qt")
    endif()
    foreach(package g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
        execute_process(COMMAND dpkg-query -W -f=\${Version} ${package}
                        OUTPUT_VARIABLE version RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "The notices need the version of ${package}, which is not installed")
        endif()
        list(APPEND versions ${version})
    endforeach()
    list(GET versions 0 VELD_GCC_PACKAGE)
    list(GET versions 1 VELD_MINGW_PACKAGE)
    string(REGEX MATCH "^[0-9.]+" VELD_GCC_VERSION ${VELD_GCC_PACKAGE})
    # The options indented and wrapped as the list's other lines are.
    separate_arguments(options UNIX_COMMAND "${VELD_QT_CONFIGURE}")
    set(VELD_QT_CONFIGURE "  ")
    set(line "  ")
    foreach(option ${options})
        string(LENGTH "${line} ${option}" length)
        if(length GREATER 86)
            string(APPEND VELD_QT_CONFIGURE "\n  ")
            set(line "  ")
        endif()
        string(APPEND VELD_QT_CONFIGURE " ${option}")
        string(APPEND line " ${option}")
    endforeach()
    set(scratch ${CMAKE_BINARY_DIR}/notices)
    configure_file(${notices}/notices.txt.in ${scratch}/list.txt @ONLY)
    file(READ ${gcc_copyright} content)
    string(REGEX MATCH "GCC RUNTIME LIBRARY EXCEPTION.*copyleft\nrequirements of the license of GCC\\.\n" content
                 "${content}")
    if(NOT content)
        message(FATAL_ERROR "No GCC Runtime Library Exception found in ${gcc_copyright}")
    endif()
    file(WRITE ${scratch}/gcc-runtime-library-exception.txt "${content}")
    configure_file(${mingw_copyright} ${scratch}/mingw-w64.txt COPYONLY)

    file(READ ${scratch}/list.txt whole)
    foreach(text ${texts} ${scratch}/gcc-runtime-library-exception.txt ${scratch}/mingw-w64.txt)
        get_filename_component(name ${text} NAME_WLE)
        file(READ ${text} content)
        string(APPEND whole "\n\n======== \"${name}\" ========\n\n${content}")
    endforeach()
    # Written only when it changes, so reconfiguring packs nothing again.
    set(before "")
    if(EXISTS ${output})
        file(READ ${output} before)
    endif()
    if(NOT whole STREQUAL before)
        file(WRITE ${output} "${whole}")
    endif()
endfunction()
