#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the Windows installer from a folder that holds the two programs, the
# icon, LICENSE.txt and THIRD-PARTY-NOTICES.txt:
#
#   pack-windows-msi.sh FOLDER WXS VERSION UPGRADE_CODE MSI
#
# wixl builds it from WXS; msibuild (both Debian's msitools) then adds what
# wixl 0.101 cannot express:
# - a later build of the same version replaces the installed one: wixl's
#   MajorUpgrade finds only older versions, so its row is made to include
#   VERSION itself (attributes: migrate features 0x1, maximum inclusive 0x200);
# - the install folder on the system PATH while the command line is
#   installed: wixl has no Environment element. The folder goes first, as
#   Windows Installer then removes it cleanly on uninstall; appended, Wine
#   leaves an empty entry behind, after which its console finds nothing more.
set -eu
folder=$1
wxs=$(realpath "$2")
version=$3
upgrade_code=$4
msi=$(realpath "$5")

rm -f "$msi"
(cd "$folder" && wixl --arch x64 --output "$msi" --define Version="$version" \
    --define UpgradeCode="$upgrade_code" "$wxs")
msibuild "$msi" \
    -q "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'" \
    -q "INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Attributes, ActionProperty)
        VALUES ('{$upgrade_code}', '', '$version', 513, 'WIX_UPGRADE_DETECTED')" \
    -q "CREATE TABLE Environment (Environment CHAR(72) NOT NULL, Name CHAR(255) NOT NULL LOCALIZABLE,
        Value CHAR(255) LOCALIZABLE, Component_ CHAR(72) NOT NULL PRIMARY KEY Environment)" \
    -q "INSERT INTO Environment (Environment, Name, Value, Component_)
        VALUES ('SystemPath', '=-*PATH', '[INSTALLDIR];[~]', 'CommandLine')" \
    -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('RemoveEnvironmentStrings', 3300)" \
    -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('WriteEnvironmentStrings', 5200)"
