// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QtGlobal>

// What a soak run did, printed as one line at its end.
struct SoakFigures
{
    quint32 seed = 0;
    int seconds = 0;
    int sessions = 0;
    int actions = 0;
    int faults = 0;
    int frames = 0;
    int refused = 0;
    int fileSequences = 0;
    int comparisons = 0;
    int excusedValues = 0;

    QString line() const
    {
        return QStringLiteral("soak figures: seed %1, seconds %2, sessions %3, actions %4, "
                              "faults injected %5, frames received %6, replies refused %7, "
                              "file sequences run %8, settled comparisons %9, values excused %10")
            .arg(seed)
            .arg(seconds)
            .arg(sessions)
            .arg(actions)
            .arg(faults)
            .arg(frames)
            .arg(refused)
            .arg(fileSequences)
            .arg(comparisons)
            .arg(excusedValues);
    }
};
