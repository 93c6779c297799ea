#pragma once

#include <QStandardPaths>
#include <QString>

// Pseudo-terminals do not show up in the system's serial port list, so an
// emulator announces its port with one file in this directory; the programmer
// lists what it finds there. Each file is "<unique name>.port" and holds three
// lines: the port path, the description, the manufacturer. Header-only and
// Qt Core only, so announcer and reader share it without depending on each other.

inline constexpr char announcementFilePattern[] = "*.port";
inline constexpr char announcementFileSuffix[] = ".port";

inline QString announcementDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/veld7316-ports");
}
