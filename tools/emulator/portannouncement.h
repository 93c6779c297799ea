// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// One announcement file (format in link/portannouncement.h), removed again by
// withdraw() or at destruction.
class PortAnnouncement
{
public:
    PortAnnouncement() = default;
    PortAnnouncement(const PortAnnouncement &) = delete;
    PortAnnouncement &operator=(const PortAnnouncement &) = delete;
    ~PortAnnouncement();

    // Replaces an earlier announcement of this object. The file is written
    // atomically, so a reader never sees half of it.
    bool publish(const QString &directory, const QString &portPath, const QString &description,
                 const QString &manufacturer);
    void withdraw();

    QString filePath() const { return path; }

private:
    QString path;
};
