#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, installs it with apt so its dependencies are
# resolved, starts the installed program headless and on Xvfb, checks the
# desktop integration, then removes the package again. Needs root, like apt.
set -eu
cd "$(dirname "$0")/../.."

package=veld-usb-serial-programmer
program=/usr/bin/veld_usb_serial_programmer
cli=/usr/bin/veld7316-cli
desktop_file=/usr/share/applications/$package.desktop
icons=/usr/share/icons/hicolor

failures=0
pass() { echo "PASS package: $1"; }
fail() { echo "FAIL package: $1"; failures=$((failures + 1)); }
check() {
    description=$1
    shift
    if "$@"; then pass "$description"; else fail "$description"; fi
}

sh tools/scripts/install-dependencies.sh desktop-file-utils lintian man-db
make package || { echo "FAIL package: make package"; exit 1; }
deb=$(ls build-package/${package}_*.deb)
# More than one file here would mean an old version is lying around.
[ "$(echo "$deb" | wc -l)" -eq 1 ] || { echo "FAIL package: more than one package in build-package/"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names_package() { echo "$depends" | tr '|' ',' | tr ',' '\n' | sed 's/ *(.*//; s/ //g' | grep -qx "$1"; }
# The X11 platform plugin is loaded at run time, out of sight of dpkg-shlibdeps.
xcb_owner=$(dpkg-query --search 'qt5/plugins/platforms/libqxcb.so' | sed 's/[:,].*//')
for dependency in libc6 libqt5widgets5 libqt5serialport5 "$xcb_owner" fonts-dejavu-extra; do
    check "depends on $dependency" names_package "$dependency"
done

# What a user may pass on: the licence notes, a changelog, manual pages, and
# nothing lintian counts as an error or a warning.
version=$(dpkg-deb -f "$deb" Version)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
holds() { echo "$contents" | grep -qx "./usr/share/$1"; }
for file in doc/$package/copyright doc/$package/changelog.gz man/man1/veld7316-cli.1.gz \
    man/man1/veld_usb_serial_programmer.1.gz; do
    check "package holds /usr/share/$file" holds "$file"
done
copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/doc/$package/copyright")
copyright_names() { echo "$copyright" | grep -qw -- "$1"; }
# Every package the programs use at run time, alternatives included, is named
# in the copyright file's note on them, so a new dependency cannot go unnoticed.
for dependency in $(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*//; s/ //g'); do
    check "copyright file names the dependency $dependency" copyright_names "$dependency"
done
machine_readable() { echo "$copyright" | head -n 1 | grep -q '^Format: https://www.debian.org/'; }
check "copyright file is machine-readable" machine_readable
lintian_log=$(mktemp)
if lintian --fail-on error,warning "$deb" > "$lintian_log" 2>&1; then
    pass "lintian: no errors, no warnings"
else
    cat "$lintian_log"
    fail "lintian found the errors or warnings above"
fi
rm -f "$lintian_log"

export DEBIAN_FRONTEND=noninteractive
remove_package() { apt-get remove -y -qq "$package" > /dev/null; }
trap remove_package EXIT
apt-get install -y -qq --no-install-recommends --reinstall "./$deb" > /dev/null ||
    { echo "FAIL package: apt-get could not install $deb"; exit 1; }

check "program installed at $program" test -x "$program"
check "command-line companion installed at $cli" test -x "$cli"
# Without a display, and with the exit statuses in its help.
check "command-line companion shows its help" \
    sh -c "env -u DISPLAY '$cli' --help | grep -q '^Exit status:'"
check "command-line companion lists ports" env -u DISPLAY "$cli" list
says_version() { env -u DISPLAY "$cli" --version | grep -qx "veld7316-cli $version"; }
check "command-line companion says its version, $version" says_version
man_page() { [ "$(man -w "$1")" = "/usr/share/man/man1/$1.1.gz" ]; }
for page in veld7316-cli veld_usb_serial_programmer; do
    check "manual page of $page" man_page "$page"
done
check "desktop entry installed at $desktop_file" test -f "$desktop_file"
check "desktop entry valid" desktop-file-validate "$desktop_file"
for size in 32x32 48x48 128x128; do
    check "icon installed at $icons/$size/apps/$package.png" test -f "$icons/$size/apps/$package.png"
done

# Headless, then on an X server, which is what a desktop loads.
log=$(mktemp)
for platform in offscreen xcb; do
    launcher=""
    [ "$platform" = xcb ] && launcher="xvfb-run -a"
    status=0
    QT_QPA_PLATFORM=$platform $launcher timeout 3 "$program" > "$log" 2>&1 || status=$?
    check "installed program ($platform) still running after 3 s" test "$status" -eq 124
    if grep -Ei 'plugin|shared librar|cannot open|not found|error' "$log"; then
        fail "installed program ($platform) printed the errors above"
    else
        pass "installed program ($platform) printed no errors about plugins or libraries"
    fi
done
rm -f "$log"

remove_package
trap - EXIT
check "package removed again" test ! -e "$program" -a ! -e "$cli"

if [ "$failures" -ne 0 ]; then
    echo "FAIL package: $failures check(s) failed"
    exit 1
fi
echo "PASS package: all checks"
