#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a static Qt 5.15.8 for 64-bit Windows with mingw-w64 into a cache
# folder outside the build trees, and reuses it when it is already complete.
# qtbase comes from Debian's own source package, qtserialport from a source
# tarball (Debian's archive does not serve that one's source). Only what a
# Widgets + SerialPort + Qt Test program needs is built: 11 to 25 minutes on
# 2 cores, 114 MB installed.
#
#   build-windows-qt.sh [qtserialport tarball]   builds unless already there
#   build-windows-qt.sh --print-prefix           prints the folder, builds nothing
#
# Beside the libraries, the folder holds veld-qtbase-source, the Debian
# version of the qtbase source built (for the release's notices), and last
# veld-build-complete, the recipe below.
#
# VELD_WINDOWS_QT             the folder (default ~/.cache/veld/qt-5.15.8-mingw-w64-static)
# VELD_QTSERIALPORT_TARBALL   the tarball when none is given (default
#                             ../shared/windows/qtserialport-5.15.8-lts-lgpl-src.tar.xz
#                             beside the repository)
# VELD_DEBIAN_MIRROR          a mirror to take qtbase's source from, bookworm main, instead
#                             of the deb-src twins of the machine's own apt sources
# JOBS                        parallel compile jobs (default 2)
set -eu
repository=$(cd "$(dirname "$0")/../.." && pwd)

qt_version=5.15.8
prefix=${VELD_WINDOWS_QT:-${XDG_CACHE_HOME:-$HOME/.cache}/veld/qt-$qt_version-mingw-w64-static}
if [ "${1:-}" = --print-prefix ]; then
    echo "$prefix"
    exit 0
fi
tarball=${1:-${VELD_QTSERIALPORT_TARBALL:-$repository/../shared/windows/qtserialport-$qt_version-lts-lgpl-src.tar.xz}}
jobs=${JOBS:-2}

# The dfsg source lacks sqlite and wintab, hence the SQL and tablet flags.
configure_flags="-xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
 -static -static-runtime -release -opensource -confirm-license
 -nomake examples -nomake tests -no-opengl -no-dbus -no-icu -no-openssl -no-direct2d
 -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre -no-libjpeg -no-gif
 -no-sql-sqlite -no-sql-odbc -no-sql-mysql -no-sql-psql -no-feature-tabletevent"
# Written last: a folder without it is a build that did not finish.
stamp=$prefix/veld-build-complete
# The Debian version of the qtbase source built, for the release's notices.
source_record=$prefix/veld-qtbase-source
recipe="Qt $qt_version; qtserialport $(basename "$tarball"); $(echo $configure_flags)"

started=$(date +%s)
step() { echo "== build-windows-qt, $(($(date +%s) - started)) s: $*"; }
# run LOG COMMAND...: Qt's build is long and warns a lot; its output goes to
# LOG, whose end is shown when a step fails.
run() {
    log=$1
    shift
    "$@" >> "$log" 2>&1 || {
        tail -n 40 "$log"
        echo "build-windows-qt: failed, see $log" >&2
        exit 1
    }
}

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
    step "reusing $prefix"
    exit 0
fi
[ -f "$tarball" ] || {
    echo "build-windows-qt: no qtserialport tarball at $tarball" >&2
    echo "Pass its path, or set VELD_QTSERIALPORT_TARBALL (Qt's qtserialport-everywhere-src or v$qt_version-lts-lgpl tag)." >&2
    exit 1
}

step "packages: mingw-w64 (posix threads), dpkg-dev for the source package"
sh "$repository/tools/scripts/install-dependencies.sh" g++-mingw-w64-x86-64-posix dpkg-dev perl xz-utils

work=$prefix.build
rm -rf "$prefix" "$work"
mkdir -p "$work/bin" "$work/apt/lists/partial" "$work/apt/cache"
# The posix-threads compilers under the plain names configure asks for,
# whichever way the system's alternatives point.
for tool in gcc g++; do
    ln -s "/usr/bin/x86_64-w64-mingw32-$tool-posix" "$work/bin/x86_64-w64-mingw32-$tool"
done
PATH=$work/bin:$PATH
export PATH

step "qtbase source from Debian's bookworm archive, through a private apt configuration"
# The entries in an apt configuration of its own, so the machine's apt
# sources stay as they are.
if [ -n "${VELD_DEBIAN_MIRROR:-}" ]; then
    mkdir -p "$work/apt/sources.list.d"
    echo "deb-src $VELD_DEBIAN_MIRROR bookworm main" > "$work/apt/sources.list"
else
    sh "$repository/tools/scripts/apt-source-entries.sh" /etc/apt "$work/apt"
fi
cat "$work/apt/sources.list" "$work/apt/sources.list.d"/* 2> /dev/null | grep -E '^(deb-src|URIs:)'
apt_options="-o Dir::Etc::SourceList=$work/apt/sources.list -o Dir::Etc::SourceParts=$work/apt/sources.list.d
 -o Dir::State::Lists=$work/apt/lists -o Dir::Cache=$work/apt/cache -o APT::Sandbox::User=$(id -un) -qq"
# A source that serves no source packages (as some third-party ones do) fails
# the update but not the rest; apt-get source says whether qtbase was found.
# shellcheck disable=SC2086
apt-get $apt_options update || echo "build-windows-qt: some sources above serve no source packages" >&2
# shellcheck disable=SC2086
(cd "$work" && apt-get $apt_options source qtbase-opensource-src > /dev/null)
qtbase=$(find "$work" -maxdepth 1 -type d -name "qtbase-opensource-src-$qt_version*")
[ -n "$qtbase" ] || {
    echo "build-windows-qt: the archive's qtbase source is not $qt_version:" "$work"/qtbase-opensource-src-* >&2
    exit 1
}
qtbase_source=$(basename "$work"/qtbase-opensource-src_*.dsc .dsc | sed 's/^qtbase-opensource-src_//')
step "qtbase source: Debian's qtbase-opensource-src $qtbase_source"

step "configure qtbase for $prefix"
# MAKEFLAGS: configure builds qmake with make.
# shellcheck disable=SC2086
(cd "$qtbase" && export MAKEFLAGS=-j$jobs && run "$work/configure.log" ./configure -prefix "$prefix" $configure_flags)

# Libraries and the host tools (moc, rcc, uic) the program's build needs;
# QtTest pulls in QtWidgets, QtGui and QtCore.
step "qtbase libraries and tools ($jobs jobs)"
# Each folder's Makefile is made when it is built, once the tools it runs are.
build_log=$work/build.log
(cd "$qtbase/src" && run "$build_log" ../bin/qmake -o Makefile src.pro)
run "$build_log" make -C "$qtbase/src" -j "$jobs" sub-testlib sub-winmain sub-platformsupport sub-uic
step "qtbase plugins: platforms, styles, image formats"
run "$build_log" make -C "$qtbase/src" sub-plugins-qmake_all
for plugins in platforms styles imageformats; do
    run "$build_log" make -C "$qtbase/src/plugins/$plugins" -j "$jobs"
done

step "install qtbase"
# Only the folders built above; a plain `make install` would build the rest.
run "$build_log" make -C "$qtbase" sub-qmake-qmake-aux-pro-install_subtargets install_mkspecs install_syncqt
for folder in corelib gui widgets testlib winmain platformheaders platformsupport tools/moc tools/rcc tools/uic \
    3rdparty/pcre2 3rdparty/harfbuzz-ng 3rdparty/libpng 3rdparty/freetype \
    plugins/platforms plugins/styles plugins/imageformats; do
    run "$build_log" make -C "$qtbase/src/$folder" install
done

step "qtserialport from $tarball"
mkdir "$work/qtserialport"
tar -xJf "$tarball" -C "$work/qtserialport" --strip-components=1
# A tag export has no generated module headers.
cd "$work/qtserialport"
run "$build_log" perl "$prefix/bin/syncqt.pl" -version "$qt_version"
run "$build_log" "$prefix/bin/qmake"
run "$build_log" make -j "$jobs"
run "$build_log" make install
cd "$repository"

echo "$qtbase_source" > "$source_record"
echo "$recipe" > "$stamp"
rm -rf "$work"
step "done: $prefix ($(du -sh "$prefix" | cut -f1))"
