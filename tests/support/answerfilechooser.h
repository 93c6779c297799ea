// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// What the file chooser looked like when it came up.
struct ChooserSeen
{
    bool shown = false;
    QString title;
    QStringList nameFilters;
    bool acceptsSave = false;
    bool confirmsOverwrite = true;
};

// Answers the next file chooser with the path, or cancels it for an empty
// path, as a user would. Any other modal widget that comes up is closed.
void answerFileChooser(const QString &path, ChooserSeen *seen);
