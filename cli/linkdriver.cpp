#include "cli/linkdriver.h"

#include "cli/interruption.h"
#include "link/replyrules.h"
#include "link/serialports.h"

#include <QEventLoop>
#include <QTimer>

LinkDriver::LinkDriver(StepLog log)
    : log(std::move(log))
{
    // An unplugged device makes the port report read or resource errors, on a
    // pseudo-terminal in a busy loop. The next tick ends the run once.
    QObject::connect(
        &port, &QSerialPort::errorOccurred, &port, [this](QSerialPort::SerialPortError error) {
            if (port.isOpen() &&
                (error == QSerialPort::ReadError || error == QSerialPort::ResourceError))
                portLost = true;
        });
}

bool LinkDriver::open(const QString &name, QString &reason)
{
    if (openModulePort(port, name))
        return true;
    reason = port.errorString();
    return false;
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

void LinkDriver::requestPowerStageOff()
{
    link.powerStageOff = true;
    link.powerStageRequest = RequestState::Write;
}

LinkDriver::Outcome LinkDriver::run()
{
    QEventLoop events;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &events, [this] { tick(); });
    loop = &events;
    timer.start(exchangeIntervalMs);
    events.exec();
    loop = nullptr;
    return outcome;
}

void LinkDriver::tick()
{
    if (interruptionRequested())
        return finish(Outcome::Interrupted);
    if (portLost)
        return finish(Outcome::ConnectionLost);
    if (awaitingReply)
        return handleReply();
    if (!anythingPending())
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
    const Reply reply = decodeReply(receivedReplyBytes(port));
    // A module that stays silent is reported once, not at every try.
    const bool firstFailure = failedInARow == 0;
    const AnsweredRequest answered = answeredRequest(int(lastSent.command), lastSent.type);
    switch (answered.kind) {
    case AnsweredRequest::Kind::Read:
        applyReadReply(answered.parameter, reply, firstFailure);
        break;
    case AnsweredRequest::Kind::Write:
        applyWriteReply(answered.parameter, reply);
        break;
    case AnsweredRequest::Kind::PowerStage:
        applyPowerStageReply(reply, firstFailure);
        break;
    case AnsweredRequest::Kind::PulseGenerator:
    case AnsweredRequest::Kind::Unknown:
        break;
    }
    if (reply.succeeded()) {
        failedInARow = 0;
    } else if (++failedInARow >= maximumFailedExchanges) {
        finish(answered.kind == AnsweredRequest::Kind::PowerStage ? Outcome::PowerStageUnconfirmed
                                                                  : Outcome::NotAnswering);
    }
}

void LinkDriver::applyReadReply(DeviceParameter parameter, const Reply &reply, bool firstFailure)
{
    const ReadReplyOutcome outcome =
        readReplyOutcome(parameter, reply, link.requests[parameter], link.values[parameter]);
    const QString name = parameterName(parameter);
    switch (outcome.kind) {
    case ReadReplyOutcome::Kind::Accepted:
        link.values[parameter] = outcome.value;
        invalid.removeAll(name);
        log(outcome.report);
        break;
    case ReadReplyOutcome::Kind::Rejected:
        // Said plainly for every parameter: the value held here is not the module's.
        if (!invalid.contains(name))
            invalid.append(name);
        log(name + QStringLiteral(" = invalid"));
        break;
    case ReadReplyOutcome::Kind::Failed:
        if (firstFailure)
            log(outcome.report);
        break;
    case ReadReplyOutcome::Kind::Superseded:
        break;
    }
    if (outcome.endsRequest())
        link.requests[parameter] = RequestState::None;
}

void LinkDriver::applyWriteReply(DeviceParameter parameter, const Reply &reply)
{
    // Only a Program writes here. An unconfirmed write is read back, so the
    // values held here stay the module's.
    const WriteReplyOutcome outcome = writeReplyOutcome(
        parameter, reply, link.requests[parameter], link.values[parameter], lastSent.value, true);
    const QString name = parameterName(parameter);
    if (outcome.unconfirmedInProgram && !unconfirmed.contains(name))
        unconfirmed.append(name);
    if (outcome.request)
        link.requests[parameter] = *outcome.request;
}

void LinkDriver::applyPowerStageReply(const Reply &reply, bool firstFailure)
{
    const PowerStageReplyOutcome outcome = powerStageReplyOutcome(
        reply, lastSent.value != 0, link.powerStageOff, anyRequest(link, RequestState::Write));
    if (reply.succeeded() || firstFailure)
        log(outcome.status.message);
    if (outcome.endsRequest)
        link.powerStageRequest = RequestState::None;
}

bool LinkDriver::anythingPending() const
{
    return anyRequest(link, RequestState::Read) || anyRequest(link, RequestState::Write) ||
           link.powerStageRequest != RequestState::None;
}

void LinkDriver::finish(Outcome result)
{
    outcome = result;
    if (loop)
        loop->exit();
}
