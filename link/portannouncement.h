// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A serial port as the port list shows it.
struct PortDescription
{
    QString name;
    QString description;
    QString manufacturer;
    // What the USB device reports as its product, where the system tells
    // (link/busreporteddescription.h); an announcement has none.
    QString busReportedDescription = {};
};

// How a test rig offers a port that the system does not list, such as an
// emulator's pseudo-terminal: one file "<unique name>.port" in
// portAnnouncementDirectory(), holding three lines: the port path, the
// description, the manufacturer. The programmer lists what it finds there.

inline constexpr char announcementFilePattern[] = "*.port";
inline constexpr char announcementFileSuffix[] = ".port";

// In the user's runtime directory.
QString portAnnouncementDirectory();

// The content of an announcement file.
QByteArray announcementContent(const PortDescription &port);

// The port an announcement file announces; nothing when the content is not
// an announcement. The last line end is optional.
std::optional<PortDescription> parseAnnouncement(const QByteArray &content);
