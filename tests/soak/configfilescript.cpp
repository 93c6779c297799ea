// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/configfilescript.h"

#include "app/configurationfile.h"
#include "tests/soak/soakfigures.h"
#include "tests/soak/soakrandom.h"
#include "tests/soak/soakwitness.h"
#include "tests/support/answerfilechooser.h"
#include "tests/support/connectedwindow.h"
#include "tests/support/modaldialogs.h"

#include <QAction>
#include <QFile>
#include <QPushButton>

#include <memory>

namespace {

QString mixedCase(const QString &text, SoakRandom &random)
{
    switch (random.between(0, 5)) {
    case 0:
        return text.toLower();
    case 1:
        return text.toUpper();
    default:
        return text;
    }
}

QString booleanText(SoakRandom &random)
{
    return mixedCase(random.chance(50) ? QStringLiteral("TRUE") : QStringLiteral("FALSE"), random);
}

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    const QByteArray bytes = text.toLatin1();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const char *buttonName(int sequence)
{
    static const char *const names[] = {"readButton", "verifyButton", "writeButton"};
    return names[sequence];
}

} // namespace

ConfigFileScript::ConfigFileScript(ConnectedWindow &rig, SoakWitness &witness, SoakRandom &random,
                                   SoakFigures &figures, std::function<void(int)> pause)
    : rig(rig)
    , witness(witness)
    , random(random)
    , figures(figures)
    , pause(std::move(pause))
{
}

bool ConfigFileScript::run()
{
    auto *action = rig.widget<QAction>("actionConfiguration_File");
    if (!action->isEnabled())
        return false;
    witness.record(QStringLiteral("open the configuration file dialog"));
    // The answer may outlive this call if the dialog never came.
    auto shown = std::make_shared<bool>(false);
    whenModalShown([this, shown](QWidget *modal) {
        if (auto *dialog = qobject_cast<ConfigurationFile *>(modal)) {
            *shown = true;
            workIn(dialog);
        }
    });
    action->trigger();
    if (!*shown)
        witness.fail(QStringLiteral("the configuration file dialog did not come up"));
    return true;
}

void ConfigFileScript::workIn(ConfigurationFile *dialog)
{
    const int steps = random.between(1, 5);
    for (int step = 0; step < steps && !witness.failed(); ++step) {
        const bool chooseFirst = !fileReadable && random.chance(70);
        const int choice = chooseFirst ? 0 : random.between(0, 4);
        if (choice == 0)
            chooseFile(dialog);
        else if (choice <= 3)
            press(dialog, Sequence(choice - 1));
        pause(random.between(0, 300));
    }
    // Sometimes long enough for a sequence to finish while the dialog is up.
    if (random.chance(50))
        pause(random.between(300, 1500));
    witness.record(QStringLiteral("OK"));
    dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
}

void ConfigFileScript::chooseFile(ConfigurationFile *dialog)
{
    bool readable = false;
    const QString path = prepareFile(&readable);
    witness.record(QStringLiteral("choose file \"%1\"").arg(path));
    ChooserSeen seen;
    answerFileChooser(path, &seen);
    dialog->findChild<QPushButton *>(QStringLiteral("fileSelectButton"))->click();
    if (!seen.shown)
        witness.fail(QStringLiteral("the file chooser did not come up"));
    fileReadable = readable;
}

void ConfigFileScript::press(ConfigurationFile *dialog, Sequence sequence)
{
    const char *name = buttonName(int(sequence));
    witness.record(QStringLiteral("press %1").arg(QLatin1String(name)));
    if (fileReadable) {
        ++figures.fileSequences;
        if (sequence == Sequence::Program)
            witness.noteProgramStarted();
        else if (sequence == Sequence::Read)
            witness.noteReadStarted();
    }
    const int asked = witness.pleaseSelectLines();
    dialog->findChild<QPushButton *>(QLatin1String(name))->click();
    const bool refused = witness.pleaseSelectLines() > asked;
    if (refused == fileReadable)
        witness.fail(
            QStringLiteral("%1 %2 although the file chosen last was %3")
                .arg(QLatin1String(name),
                     refused ? QStringLiteral("asked for a file") : QStringLiteral("ran"),
                     fileReadable ? QStringLiteral("readable") : QStringLiteral("not readable")));
}

QString ConfigFileScript::prepareFile(bool *readable)
{
    const QString path = directory.filePath(QStringLiteral("settings-%1.txt").arg(++fileNumber));
    const int kind = random.between(0, 9);
    *readable = false;
    if (kind == 0)
        return QString(); // the user cancels the chooser
    if (kind <= 3) {
        *readable = true;
        return path; // a new name: an empty file, read as such
    }
    const bool valid = kind > 4;
    if (!writeText(path, valid ? validSettings() : invalidSettings()))
        return QString();
    *readable = valid;
    return path;
}

// Seven settings in any order and letter case; now and then one missing
// (its file value stays) or an unknown line (only warned about).
QString ConfigFileScript::validSettings()
{
    const int runCurrent = random.between(0, 31);
    const int standbyCurrent = random.chance(30) ? runCurrent : random.between(0, 31);
    QStringList lines = {
        QStringLiteral("MicroStepResolution %1").arg(8 << random.between(0, 5)),
        QStringLiteral("MicroStepMultiplier ") + booleanText(random),
        QStringLiteral("MicroStepDoubleEdge ") + booleanText(random),
        QStringLiteral("HalfCurrentRange ") + booleanText(random),
        QStringLiteral("RunCurrent %1").arg(runCurrent),
        QStringLiteral("StandbyCurrent %1").arg(standbyCurrent),
        QStringLiteral("StandbyCurrentDelay %1").arg(random.between(0, 255)),
    };
    for (QString &line : lines) {
        const int blank = line.indexOf(QLatin1Char(' '));
        line = mixedCase(line.left(blank), random) + line.mid(blank);
    }
    for (int index = lines.size() - 1; index > 0; --index)
        lines.swapItemsAt(index, random.between(0, index));
    if (random.chance(15))
        lines.removeAt(random.between(0, lines.size() - 1));
    if (random.chance(15))
        lines.insert(random.between(0, lines.size()), QStringLiteral("Comment kept by hand"));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ConfigFileScript::invalidSettings()
{
    static const char *const invalidLines[] = {"RunCurrent 32", "StandbyCurrent -1",
                                               "MicroStepResolution 4", "HalfCurrentRange maybe",
                                               "StandbyCurrentDelay 256"};
    return QStringLiteral("RunCurrent %1\n%2\n")
        .arg(random.between(0, 31))
        .arg(QLatin1String(invalidLines[random.between(0, 4)]));
}
