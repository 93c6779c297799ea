# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads)
# against the static Qt that tools/scripts/build-windows-qt.sh builds:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DVELD_WINDOWS_QT=<that script's --print-prefix>
# Executables link statically, so they need no DLL beside them, and are
# stripped in release builds. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELD_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELD_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELD_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VELD_MINGW}-windres)

set(VELD_WINDOWS_QT "" CACHE PATH "The static Qt for Windows")
# try_compile projects see the cache variable only through this.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELD_WINDOWS_QT)
set(CMAKE_FIND_ROOT_PATH /usr/${VELD_MINGW} ${VELD_WINDOWS_QT})
set(CMAKE_PREFIX_PATH ${VELD_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without -static the C++ runtime stays in DLLs that Windows does not have.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT -s)

# CTest starts the test executables through Wine.
find_program(VELD_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VELD_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VELD_WINE})
endif()
