// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/linksession.h"

void LinkSession::open()
{
    startConnection(state);
    exchange = ExchangeState::Ready;
    lateReply.reset();
    failures = 0;
    writesSent = PerParameter<int>();
}

void LinkSession::close()
{
    exchange = ExchangeState::Idle;
    state.held = PerParameter<std::optional<int>>();
}

void LinkSession::requestAll(RequestState request)
{
    for (DeviceParameter parameter : allDeviceParameters)
        state.requests[parameter] = request;
}

SessionTick LinkSession::tick(const std::function<QByteArray()> &receive, bool programUnderWay)
{
    SessionTick result;
    if (exchange == ExchangeState::AwaitingReply)
        takeReply(receive(), programUnderWay, result);
    if (exchange != ExchangeState::Ready || result.reply)
        return result;
    if (lateReply.waiting() && !lateReply.tick(int(receive().size()))) {
        // The link is out of step, but a stop does not wait for it.
        if (stopUnsent(state)) {
            lateReply.sentOutOfStep();
            send(*planTick(state).frame, result);
        }
        return result;
    }
    const TickPlan plan = planTick(state);
    result.readsComplete = plan.readsComplete;
    result.writesComplete = plan.writesComplete;
    if (plan.frame) {
        // Bytes that came outside a reply's time are dropped, not read as the
        // next one.
        receive();
        send(*plan.frame, result);
    }
    return result;
}

bool LinkSession::reached(LinkGoal goal) const
{
    if (exchange != ExchangeState::Ready || lateReply.waiting() ||
        anyRequest(state, RequestState::Read))
        return false;
    return goal == LinkGoal::ReadsDone || (!anyRequest(state, RequestState::Write) &&
                                           state.powerStageRequest == RequestState::None);
}

void LinkSession::takeReply(const QByteArray &received, bool programUnderWay, SessionTick &result)
{
    exchange = ExchangeState::Ready;
    const Reply reply =
        lateReply.afterReply(int(received.size())) ? decodeReply(received) : Reply();
    failures = reply.succeeded() ? 0 : failures + 1;
    if (sendsWriteAgain(reply)) {
        result.reply = ReplyEffects();
        return;
    }
    const ReplyStep step = replyStep(state, sent, reply, programUnderWay);
    state = step.link;
    if (step.effects.unconfirmedWrite) {
        const QString name = parameterName(*step.effects.unconfirmedWrite);
        if (!unconfirmed.contains(name))
            unconfirmed.append(name);
    }
    result.reply = step.effects;
}

// A write whose reply went missing may well have been taken: it is sent again
// as it stands, a bounded number of times.
bool LinkSession::sendsWriteAgain(const Reply &reply)
{
    if (sent.command != Command::SetParameter || !isDeviceParameterNumber(sent.type))
        return false;
    const auto parameter = static_cast<DeviceParameter>(sent.type);
    int &tries = writesSent[parameter];
    if (reply.complete || tries >= writeTries || state.requests[parameter] != RequestState::Write) {
        tries = 0;
        return false;
    }
    return true;
}

void LinkSession::send(const OutgoingFrame &frame, SessionTick &result)
{
    sent = frame;
    exchange = ExchangeState::AwaitingReply;
    if (frame.command == Command::RunPulseGenerator)
        state.lastPulseFrame = frame.value;
    if (frame.command == Command::SetParameter && isDeviceParameterNumber(frame.type))
        ++writesSent[static_cast<DeviceParameter>(frame.type)];
    result.frame = encodeFrame(int(frame.command), frame.type, frame.motor, frame.value);
}
