// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/fuzz/replies/replyrig.h"

#include "link/exchangeplan.h"
#include "tests/fuzz/replies/fuzzcheck.h"

#include <QCoreApplication>
#include <QDial>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// Event passes a sent request needs to reach the stand-in: one for the port to
// write it, one for the stand-in to read it, and room to spare.
constexpr int deliveryPasses = 8;
// Seven reads, a power-stage switch and a pulse generator stop, with room to spare.
constexpr int settlingExchanges = 32;

} // namespace

ReplyRig::ReplyRig()
    : script(rig.module)
{
}

void ReplyRig::startSession()
{
    // The stand-in keeps a log of every frame; a run would pile it up.
    rig.module.clearReceivedFrames();
    reopenPort();
    releaseRotateButton();
    restPulseGenerator();
    restMotorFields();
    settleWithFactoryModule();
    reopenPort();
    script.forgetPowerStage();
}

bool ReplyRig::sendRequest(ScriptedModule::Answer answer)
{
    script.expectRequest(std::move(answer));
    tick();
    for (int pass = 0; pass < deliveryPasses && !script.answered(); ++pass)
        QCoreApplication::processEvents();
    return script.endExpecting();
}

void ReplyRig::applyReply()
{
    tick();
}

void ReplyRig::tick()
{
    QMetaObject::invokeMethod(rig.window.get(), "on_timerEvent");
}

void ReplyRig::reopenPort()
{
    // The port may be gone already: the window closes it on a lost device.
    auto *close = widget<QPushButton>("closeButton");
    if (close->isEnabled())
        close->click();
    if (!rig.selectModulePort())
        failFuzzCheck(QStringLiteral("the stand-in's port is not in the window's list"));
    rig.clickOpen();
    if (!widget<QPushButton>("closeButton")->isEnabled())
        failFuzzCheck(QStringLiteral("the window did not open the stand-in's port"));
    stopExchangeTimer();
}

void ReplyRig::stopExchangeTimer()
{
    int stopped = 0;
    for (QTimer *timer : window().findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (timer->isActive() && timer->interval() == exchangeIntervalMs) {
            timer->stop();
            ++stopped;
        }
    }
    if (stopped != 1)
        failFuzzCheck(QStringLiteral("%1 exchange timers found").arg(stopped));
}

// A rotate button held down stays so through closing and opening the port; a
// turn the other way and a stop release both.
void ReplyRig::releaseRotateButton()
{
    auto *left = widget<QPushButton>("rotateLeftButton");
    auto *right = widget<QPushButton>("rotateRightButton");
    if (left->isDown())
        right->click();
    else if (right->isDown())
        left->click();
    else
        return;
    widget<QPushButton>("stopButton")->click();
}

// 100 Hz steps, 0 Hz, the dial at 0.
void ReplyRig::restPulseGenerator()
{
    widget<QRadioButton>("x100HzRadioButton")->click();
    auto *dial = widget<QDial>("pulseFrequencyDial");
    ConnectedWindow::drag(dial, 0);
    // Whole turns down in quarter steps lower the frequency until it stops at
    // 0 and leave the dial where it was.
    while (widget<QLineEdit>("pulseFrequencyLineEdit")->text() != QLatin1String("0.000kHz")) {
        for (int position : {75, 50, 25, 0})
            ConnectedWindow::drag(dial, position);
    }
}

void ReplyRig::restMotorFields()
{
    widget<QLineEdit>("motorFullStepsLineEdit")->setText(QStringLiteral("200"));
    widget<QLineEdit>("motorStepAngleLineEdit")->setText(QStringLiteral("1.8"));
}

// The opening's reads, answered by a module at its factory settings, put the
// seven settings and their controls back to their start values; the
// power-stage switch and a pulse generator stop go out as well, so that the
// next opening starts with nothing else to send.
void ReplyRig::settleWithFactoryModule()
{
    for (int exchanges = 0; sendRequest(factoryModuleReply); ++exchanges) {
        if (exchanges == settlingExchanges)
            failFuzzCheck(QStringLiteral("the window never settles with a healthy module"));
        applyReply();
    }
}
