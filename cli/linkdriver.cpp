#include "cli/linkdriver.h"

#include "cli/interruption.h"
#include "link/replystep.h"
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
    startConnection(link);
    return true;
}

void LinkDriver::close()
{
    if (port.isOpen())
        port.close();
}

void LinkDriver::requestReads()
{
    for (DeviceParameter parameter : allDeviceParameters)
        link.requests[parameter] = RequestState::Read;
}

void LinkDriver::requestWrites(const ParameterValues &values)
{
    link.values = values;
    for (DeviceParameter parameter : allDeviceParameters)
        link.requests[parameter] = RequestState::Write;
    unconfirmed.clear();
}

LinkDriver::Outcome LinkDriver::run(Until until)
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
    if (awaitingReply)
        return handleReply();
    if (lateReply.waiting() && !lateReply.tick(discardStrayInput(port)))
        return;
    if (done())
        return finish(Outcome::Done);
    const TickPlan plan = planTick(link);
    if (plan.frame)
        send(*plan.frame);
}

void LinkDriver::send(const OutgoingFrame &frame)
{
    const Frame bytes = encodeFrame(int(frame.command), frame.type, frame.motor, frame.value);
    discardStrayInput(port);
    port.write(reinterpret_cast<const char *>(bytes.data()), frameLength);
    lastSent = frame;
    awaitingReply = true;
}

void LinkDriver::handleReply()
{
    awaitingReply = false;
    const QByteArray bytes = receivedReplyBytes(port);
    const Reply reply = lateReply.afterReply(int(bytes.size())) ? decodeReply(bytes) : Reply();
    // Only a Program writes here.
    const ReplyStep step = replyStep(link, lastSent, reply, true);
    link = step.link;

    // A module that stays silent is reported once, not at every try. A value
    // the module sent but the program cannot hold is named plainly.
    const ReplyEffects &effects = step.effects;
    const bool firstFailure = failedInARow == 0;
    if (effects.rejectedValue)
        log(parameterName(*effects.rejectedValue) + QStringLiteral(" = invalid"));
    else if (!effects.report.isEmpty() && (reply.succeeded() || firstFailure))
        log(effects.report);
    if (effects.status && (reply.succeeded() || firstFailure))
        log(effects.status->message);
    if (effects.unconfirmedWrite) {
        const QString name = parameterName(*effects.unconfirmedWrite);
        if (!unconfirmed.contains(name))
            unconfirmed.append(name);
    }

    if (reply.succeeded()) {
        failedInARow = 0;
    } else if (++failedInARow >= maximumFailedExchanges) {
        finish(lastSent.command == Command::SwitchPowerStage ? Outcome::PowerStageUnconfirmed
                                                             : Outcome::NotAnswering);
    }
}

bool LinkDriver::done() const
{
    if (anyRequest(link, RequestState::Read))
        return false;
    return goal == Until::ReadsDone ||
           (!anyRequest(link, RequestState::Write) && link.powerStageRequest == RequestState::None);
}

void LinkDriver::finish(Outcome outcome)
{
    result = outcome;
    if (loop)
        loop->exit();
}
