#include "link/replyrules.h"

namespace {

constexpr int highestCurrentValue = 31;

const char powerStageOnMessage[] = "Power stage on. Don not plug / unplug motor!";
const char powerStageOffMessage[] = "Power stage is off. You can now plug or unplug the motor.";
const char powerStageUnconfirmedMessage[] =
    "Error: VELD-7316 did not confirm the power stage switch. Do not plug / unplug motor!";
const char powerStageUnconfirmedSettingsWaitingMessage[] =
    "Error: VELD-7316 did not confirm the power stage switch; settings wait. Do not plug / "
    "unplug motor!";

bool isCurrent(DeviceParameter parameter)
{
    return parameter == DeviceParameter::RunCurrent || parameter == DeviceParameter::StandbyCurrent;
}

using ReadKind = ReadReplyOutcome::Kind;

ReadReplyOutcome readOutcome(ReadKind kind, const QString &report = {}, bool showInvalid = false)
{
    ReadReplyOutcome outcome;
    outcome.kind = kind;
    outcome.report = report;
    outcome.showInvalid = showInvalid;
    return outcome;
}

ReadReplyOutcome accepted(DeviceParameter parameter, int value)
{
    ReadReplyOutcome outcome = readOutcome(ReadKind::Accepted, parameterReport(parameter, value));
    outcome.value = value;
    return outcome;
}

} // namespace

const char noCommunicationMessage[] = "Error: no communication with VELD-7316";
const char pulseGeneratorUnconfirmedMessage[] =
    "Error: VELD-7316 did not confirm the pulse generator. Motor may still be turning!";

AnsweredRequest answeredRequest(int command, int type)
{
    using Kind = AnsweredRequest::Kind;
    const auto parameter = static_cast<DeviceParameter>(type);
    switch (command) {
    case int(Command::GetParameter):
        return {isDeviceParameterNumber(type) ? Kind::Read : Kind::Unknown, parameter};
    case int(Command::SetParameter):
        return {isDeviceParameterNumber(type) ? Kind::Write : Kind::Unknown, parameter};
    case int(Command::SwitchPowerStage):
        return {type == powerStageType ? Kind::PowerStage : Kind::Unknown};
    case int(Command::RunPulseGenerator):
        return {Kind::PulseGenerator};
    default:
        return {};
    }
}

StatusReport powerStageReport(bool off)
{
    if (off)
        return {QLatin1String(powerStageOffMessage), StatusColour::Green};
    return {QLatin1String(powerStageOnMessage), StatusColour::Red};
}

ReadReplyOutcome readReplyOutcome(DeviceParameter parameter, const Reply &reply,
                                  RequestState requestNow, int cachedValue)
{
    if (!reply.succeeded()) {
        // A delay the user set meanwhile is written instead, and stays shown.
        const bool delayUnknown =
            parameter == DeviceParameter::StandbyCurrentDelay && requestNow == RequestState::Read;
        return readOutcome(ReadKind::Failed, QLatin1String(noCommunicationMessage), delayUnknown);
    }
    // A change the user made while the read was under way wins over the
    // module's old value, and is written next.
    if (requestNow == RequestState::Write)
        return readOutcome(ReadKind::Superseded);

    const int byte = reply.value;
    if (isBooleanParameter(parameter)) {
        if (byte == 0 || byte == 1)
            return accepted(parameter, byte);
        return readOutcome(ReadKind::Rejected);
    }
    if (isCurrent(parameter)) {
        if (byte <= highestCurrentValue)
            return accepted(parameter, byte);
        return readOutcome(ReadKind::Rejected,
                           parameterName(parameter) + QStringLiteral(" = invalid"), true);
    }
    if (parameter == DeviceParameter::MicroStepResolution) {
        const int microsteps = microstepsFromCode(byte);
        if (microsteps > 0)
            return accepted(parameter, microsteps);
        return readOutcome(ReadKind::Rejected, parameterReport(parameter, cachedValue));
    }
    return accepted(parameter, byte);
}

WriteReplyOutcome writeReplyOutcome(DeviceParameter parameter, const Reply &reply,
                                    RequestState requestNow, int cachedValue, int sentValue,
                                    bool programUnderWay)
{
    WriteReplyOutcome outcome;
    outcome.confirmed = reply.succeeded();
    const bool unchangedSinceSent =
        requestNow == RequestState::Write && wireValue(parameter, cachedValue) == sentValue;
    if (outcome.confirmed) {
        if (unchangedSinceSent)
            outcome.request = RequestState::None;
        return outcome;
    }
    // What the module holds now is unknown: read it back, so that the window
    // and a later Verify show that instead of the value it did not take.
    if (unchangedSinceSent)
        outcome.request = RequestState::Read;
    if (programUnderWay)
        outcome.unconfirmedInProgram = true;
    else
        outcome.report = QStringLiteral("Error: ") + parameterName(parameter) +
                         QStringLiteral(" not written to VELD-7316");
    return outcome;
}

PowerStageReplyOutcome powerStageReplyOutcome(const Reply &reply, bool sentOff, bool wantedOff,
                                              bool settingsWaiting)
{
    if (!reply.succeeded()) {
        // The state is unknown: warn as for a live power stage and switch again.
        const char *message = settingsWaiting ? powerStageUnconfirmedSettingsWaitingMessage
                                              : powerStageUnconfirmedMessage;
        return {{QLatin1String(message), StatusColour::Red}, false};
    }
    return {powerStageReport(sentOff), wantedOff == sentOff};
}

PulseGeneratorReplyOutcome pulseGeneratorReplyOutcome(const Reply &reply, int sentValue,
                                                      bool errorShown, bool powerStageOff,
                                                      bool powerStageConfirmed)
{
    PulseGeneratorReplyOutcome outcome;
    if (!reply.succeeded()) {
        outcome.status =
            StatusReport{QLatin1String(pulseGeneratorUnconfirmedMessage), StatusColour::Red};
        return outcome;
    }
    outcome.pulseSent = sentValue;
    if (errorShown && powerStageConfirmed)
        outcome.status = powerStageReport(powerStageOff);
    return outcome;
}
