// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/replystep.h"

namespace {

// "Don not" is the module's own wording, which users know: kept as it is.
const char powerStageOnMessage[] = "Power stage on. Don not plug / unplug motor!";
const char powerStageOffMessage[] = "Power stage is off. You can now plug or unplug the motor.";
const char powerStageUnconfirmedMessage[] =
    "Error: VELD-7316 did not confirm the power stage switch. Do not plug / unplug motor!";
const char powerStageUnconfirmedSettingsWaitingMessage[] =
    "Error: VELD-7316 did not confirm the power stage switch; settings wait. Do not plug / "
    "unplug motor!";

StatusReport powerStageReport(bool off)
{
    if (off)
        return {QLatin1String(powerStageOffMessage), StatusColour::Green};
    return {QLatin1String(powerStageOnMessage), StatusColour::Red};
}

// The value the module sent as the program holds it; nothing when it cannot
// hold it.
std::optional<int> readValue(DeviceParameter parameter, int byte)
{
    if (parameterKind(parameter) == ParameterKind::Resolution) {
        const int microsteps = microstepsFromCode(byte);
        return microsteps > 0 ? std::optional<int>(microsteps) : std::nullopt;
    }
    return byte <= highestValue(parameter) ? std::optional<int>(byte) : std::nullopt;
}

// Microsteps per full step of any code the module has, offered or not.
std::optional<int> resolutionOfCode(int code)
{
    for (const MicrostepCode &entry : microstepCodes) {
        if (entry.code == code)
            return entry.microsteps;
    }
    return std::nullopt;
}

// The other current's read, when pending, decides the standby box later.
bool otherCurrentRead(const LinkState &link, DeviceParameter parameter)
{
    const DeviceParameter other = parameter == DeviceParameter::RunCurrent
                                      ? DeviceParameter::StandbyCurrent
                                      : DeviceParameter::RunCurrent;
    return link.requests[other] == RequestState::Read;
}

void applyRead(ReplyStep &step, DeviceParameter parameter, const Reply &reply)
{
    LinkState &link = step.link;
    ReplyEffects &effects = step.effects;
    RequestState &request = link.requests[parameter];
    if (!reply.succeeded()) {
        // Read again. A delay the user set meanwhile is written instead, and stays shown.
        effects.report = QLatin1String(noCommunicationMessage);
        if (parameterKind(parameter) == ParameterKind::Delay && request == RequestState::Read)
            effects.shownInvalid = parameter;
        return;
    }
    // A change the user made while the read was under way wins over the
    // module's old value, and is written next.
    if (request == RequestState::Write)
        return;
    request = RequestState::None;

    const std::optional<int> value = readValue(parameter, reply.value);
    link.held[parameter] = value;
    if (value) {
        link.values[parameter] = *value;
        effects.shownValue = parameter;
        effects.report = parameterReport(parameter, *value);
        effects.standbyBoxFollows =
            isCurrentParameter(parameter) && !otherCurrentRead(link, parameter);
        return;
    }
    effects.rejectedValue = parameterName(parameter) + QStringLiteral(" = invalid");
    if (isCurrentParameter(parameter)) {
        effects.shownInvalid = parameter;
        effects.report = effects.rejectedValue;
    } else if (parameterKind(parameter) == ParameterKind::Resolution) {
        // The list keeps what it showed, but the report never names a value
        // the module does not hold.
        link.held[parameter] = resolutionOfCode(reply.value);
        if (link.held[parameter])
            effects.rejectedValue = parameterReport(parameter, *link.held[parameter]) +
                                    QStringLiteral(" (not selectable)");
        effects.report = effects.rejectedValue;
    }
}

void applyWrite(ReplyStep &step, DeviceParameter parameter, int sentValue, const Reply &reply,
                bool programUnderWay)
{
    LinkState &link = step.link;
    RequestState &request = link.requests[parameter];
    const bool unchangedSinceSent =
        request == RequestState::Write && wireValue(parameter, link.values[parameter]) == sentValue;
    if (reply.succeeded()) {
        link.held[parameter] = valueFromWire(parameter, sentValue);
        if (unchangedSinceSent)
            request = RequestState::None;
        return;
    }
    // What the module holds now is unknown: read it back, so that the window
    // and a later Verify show that instead of the value it did not take.
    link.held[parameter].reset();
    if (unchangedSinceSent)
        request = RequestState::Read;
    if (programUnderWay)
        step.effects.unconfirmedWrite = parameter;
    else
        step.effects.report = QStringLiteral("Error: ") + parameterName(parameter) +
                              QStringLiteral(" not written to VELD-7316");
}

void applyPowerStage(ReplyStep &step, bool sentOff, const Reply &reply)
{
    LinkState &link = step.link;
    link.pulseErrorShown = false;
    if (!reply.succeeded()) {
        // The state is unknown: warn as for a live power stage and switch again.
        const char *message = anyRequest(link, RequestState::Write)
                                  ? powerStageUnconfirmedSettingsWaitingMessage
                                  : powerStageUnconfirmedMessage;
        step.effects.status = StatusReport{QLatin1String(message), StatusColour::Red};
        return;
    }
    step.effects.status = powerStageReport(sentOff);
    // A switch the user asked for meanwhile stays pending.
    if (link.powerStageOff == sentOff)
        link.powerStageRequest = RequestState::None;
}

void applyPulseGenerator(ReplyStep &step, int sentValue, const Reply &reply)
{
    LinkState &link = step.link;
    if (!reply.succeeded()) {
        // It may have taken the frame or not: whatever is wanted next goes out.
        link.pulseSent.reset();
        link.pulseErrorShown = true;
        step.effects.status =
            StatusReport{QLatin1String(pulseGeneratorUnconfirmedMessage), StatusColour::Red};
        return;
    }
    link.pulseSent = sentValue;
    // Once the module confirms again, the status bar says what the power
    // stage is, when that is known.
    if (link.pulseErrorShown && link.powerStageRequest == RequestState::None) {
        link.pulseErrorShown = false;
        step.effects.status = powerStageReport(link.powerStageOff);
    }
}

} // namespace

const char noCommunicationMessage[] = "Error: no communication with VELD-7316";
const char pulseGeneratorUnconfirmedMessage[] =
    "Error: VELD-7316 did not confirm the pulse generator. Motor may still be turning!";

ReplyStep replyStep(const LinkState &link, const OutgoingFrame &sent, const Reply &reply,
                    bool programUnderWay)
{
    ReplyStep step{link, {}};
    const bool deviceParameter = isDeviceParameterNumber(sent.type);
    const auto parameter = static_cast<DeviceParameter>(sent.type);
    switch (sent.command) {
    case Command::GetParameter:
        if (deviceParameter)
            applyRead(step, parameter, reply);
        break;
    case Command::SetParameter:
        if (deviceParameter)
            applyWrite(step, parameter, sent.value, reply, programUnderWay);
        break;
    case Command::SwitchPowerStage:
        if (sent.type == powerStageType)
            applyPowerStage(step, sent.value != 0, reply);
        break;
    case Command::RunPulseGenerator:
        applyPulseGenerator(step, sent.value, reply);
        break;
    }
    return step;
}
