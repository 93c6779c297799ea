// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

// The frames a module received, a frame sent again right after itself counted
// once. Under load a reply can come after its tick, and the request is then
// rightly sent again; how often is the link's table tests' business.
inline QStringList withoutRepeats(const QStringList &frames)
{
    QStringList distinct;
    for (const QString &frame : frames) {
        if (distinct.isEmpty() || distinct.last() != frame)
            distinct << frame;
    }
    return distinct;
}
