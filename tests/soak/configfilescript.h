// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>

class ConnectedWindow;
class ConfigurationFile;
class SoakRandom;
class SoakWitness;
struct SoakFigures;

// Works in the configuration file dialog as a user would: opens it from the
// Tools menu, chooses files in the file chooser, presses Read, Verify and
// Program, and leaves with OK.
class ConfigFileScript
{
public:
    ConfigFileScript(ConnectedWindow &rig, SoakWitness &witness, SoakRandom &random,
                     SoakFigures &figures, std::function<void(int)> pause);

    // False when the menu entry is disabled.
    bool run();

private:
    enum class Sequence { Read, Verify, Program };

    void workIn(ConfigurationFile *dialog);
    void chooseFile(ConfigurationFile *dialog);
    void press(ConfigurationFile *dialog, Sequence sequence);
    // A path to choose, empty to cancel the chooser; sets whether the
    // dialog should take the file.
    QString prepareFile(bool *readable);
    QString validSettings();
    QString invalidSettings();

    ConnectedWindow &rig;
    SoakWitness &witness;
    SoakRandom &random;
    SoakFigures &figures;
    QTemporaryDir directory; // the files of this window alone
    std::function<void(int)> pause;
    bool fileReadable = false; // as the dialog should have found the file chosen last
    int fileNumber = 0;
};
