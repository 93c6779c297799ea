// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/settledcomparison.h"

#include "link/displayformat.h"
#include "tests/support/connectedwindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QVariant>

namespace {

// Microsteps per full step for a microstep code 0..5 (256 down to 8).
int microstepsOfCode(int code)
{
    return 256 >> code;
}

// "1500Hz" or "1.500kHz" in Hz.
int shownFrequency(QString text)
{
    if (text.endsWith(QStringLiteral("kHz"))) {
        text.chop(3);
        return qRound(text.toDouble() * 1000);
    }
    text.chop(2);
    return text.toInt();
}

class Comparison
{
public:
    Comparison(const ConnectedWindow &rig, const std::function<bool(int)> &excused)
        : rig(rig)
        , excused(excused)
    {
    }

    template <typename T>
    void expect(std::initializer_list<int> dependsOn, const char *what, const T &shown,
                const T &module)
    {
        for (int key : dependsOn) {
            if (excused(key))
                return;
        }
        if (shown != module)
            differences << QStringLiteral("%1: window %2, module %3")
                               .arg(QLatin1String(what), QVariant(shown).toString(),
                                    QVariant(module).toString());
    }

    int wire(int number) const { return rig.module.parameter(number); }
    template <typename Widget> const Widget *widget(const char *name) const
    {
        return rig.widget<Widget>(name);
    }

    QStringList differences;

private:
    const ConnectedWindow &rig;
    const std::function<bool(int)> &excused;
};

} // namespace

QStringList settledDifferences(const ConnectedWindow &rig, const std::function<bool(int)> &excused)
{
    Comparison c(rig, excused);
    const bool halfRange = c.wire(179) == 1;
    const int runCurrent = c.wire(6);
    const int standbyCurrent = c.wire(7);
    const int delay = c.wire(214);

    // One dial and its text show both the run current and its range.
    c.expect({6, 179}, "runCurrentDial", c.widget<QDial>("runCurrentDial")->sliderPosition(),
             runCurrentDialPosition(runCurrent, halfRange));
    c.expect({6, 179}, "runCurrentLineEdit", c.widget<QLineEdit>("runCurrentLineEdit")->text(),
             formatCurrent(runCurrent, halfRange));
    c.expect({7}, "standbyCurrentDial", c.widget<QDial>("standbyCurrentDial")->sliderPosition(),
             standbyCurrent);
    c.expect({7, 179}, "standbyCurrentLineEdit",
             c.widget<QLineEdit>("standbyCurrentLineEdit")->text(),
             formatCurrent(standbyCurrent, halfRange));
    c.expect({214}, "delayDial", c.widget<QDial>("delayDial")->sliderPosition(), delay);
    // Unchecking the standby box shows no delay as a bare "0" instead of "0ms".
    const QString delayText = c.widget<QLineEdit>("delayLineEdit")->text();
    c.expect({214}, "delayLineEdit", delayText == QStringLiteral("0") ? formatDelay(0) : delayText,
             formatDelay(delay));
    c.expect({140}, "microstepComboBox", c.widget<QComboBox>("microstepComboBox")->currentText(),
             QString::number(microstepsOfCode(c.wire(140))));
    c.expect({160}, "x16CheckBox", c.widget<QAbstractButton>("x16CheckBox")->isChecked(),
             c.wire(160) == 1);
    c.expect({161}, "doubleEdgeCheckBox",
             c.widget<QAbstractButton>("doubleEdgeCheckBox")->isChecked(), c.wire(161) == 1);
    // "Driver On" offers to switch on: the power stage is meant to be off.
    const bool shownOff =
        c.widget<QAbstractButton>("stopButton")->text() == QStringLiteral("Driver On");
    c.expect({powerStageKey}, "power stage off", shownOff, !rig.module.powerStageOn());
    // The motor turns only with the power stage on; "STOP" offers to stop it.
    const bool shownTurning =
        c.widget<QAbstractButton>("stopButton")->text() == QStringLiteral("STOP");
    const int frequency = shownFrequency(c.widget<QLineEdit>("pulseFrequencyLineEdit")->text());
    const bool left = c.widget<QAbstractButton>("rotateLeftButton")->isDown();
    const int shownPulses = shownTurning ? (left ? -frequency : frequency) : 0;
    const int modulePulses = rig.module.powerStageOn() ? rig.module.pulseFrequency() : 0;
    c.expect({powerStageKey, pulseGeneratorKey}, "motor pulses (Hz)", shownPulses, modulePulses);
    return c.differences;
}
