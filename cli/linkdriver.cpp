// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/linkdriver.h"

#include "cli/interruption.h"
#include "link/serialports.h"

#include <QEventLoop>
#include <QTimer>

LinkDriver::LinkDriver(StepLog stepLog)
    : log(std::move(stepLog))
{
    // The next tick ends the run.
    watchForPortLoss(port, &port, [this] { portLost = true; });
}

bool LinkDriver::open(const QString &name, QString &reason)
{
    if (!openModulePort(port, name)) {
        reason = portOpenFailureReason(portOpenFailure(port));
        return false;
    }
    link.open();
    return true;
}

void LinkDriver::close()
{
    link.close();
    if (port.isOpen())
        port.close();
}

LinkDriver::Outcome LinkDriver::run(LinkGoal until)
{
    goal = until;
    QEventLoop events;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &events, [this] { tick(); });
    loop = &events;
    timer.start(exchangeIntervalMs);
    events.exec();
    loop = nullptr;
    return result;
}

void LinkDriver::tick()
{
    if (interruptionRequested())
        return finish(Outcome::Interrupted);
    if (portLost)
        return finish(Outcome::ConnectionLost);
    if (link.reached(goal))
        return finish(Outcome::Done);
    // Only a Program writes here.
    const SessionTick step = link.tick([this] { return receivedBytes(port); }, true);
    if (step.reply)
        show(*step.reply);
    if (link.failuresInARow() >= maximumFailedExchanges) {
        return finish(link.lastCommand() == Command::SwitchPowerStage
                          ? Outcome::PowerStageUnconfirmed
                          : Outcome::NotAnswering);
    }
    if (step.frame)
        port.write(reinterpret_cast<const char *>(step.frame->data()), frameLength);
}

// A module that stays silent is reported once, not at every try. A value the
// module sent but the program cannot hold is named plainly.
void LinkDriver::show(const ReplyEffects &effects)
{
    if (link.failuresInARow() > 1)
        return;
    if (!effects.rejectedValue.isEmpty())
        log(effects.rejectedValue);
    else if (!effects.report.isEmpty())
        log(effects.report);
    if (effects.status)
        log(effects.status->message);
}

void LinkDriver::finish(Outcome outcome)
{
    result = outcome;
    if (loop)
        loop->exit();
}
