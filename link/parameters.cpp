#include "link/parameters.h"

int parameterNumber(DeviceParameter parameter)
{
    return static_cast<int>(parameter);
}

bool isDeviceParameterNumber(int number)
{
    for (DeviceParameter parameter : allDeviceParameters) {
        if (parameterNumber(parameter) == number)
            return true;
    }
    return false;
}

QString parameterName(DeviceParameter parameter)
{
    switch (parameter) {
    case DeviceParameter::RunCurrent:
        return QStringLiteral("RunCurrent");
    case DeviceParameter::StandbyCurrent:
        return QStringLiteral("StandbyCurrent");
    case DeviceParameter::MicroStepResolution:
        return QStringLiteral("MicroStepResolution");
    case DeviceParameter::MicroStepMultiplier:
        return QStringLiteral("MicroStepMultiplier");
    case DeviceParameter::MicroStepDoubleEdge:
        return QStringLiteral("MicroStepDoubleEdge");
    case DeviceParameter::HalfCurrentRange:
        return QStringLiteral("HalfCurrentRange");
    case DeviceParameter::StandbyCurrentDelay:
        return QStringLiteral("StandbyCurrentDelay");
    }
    return QString();
}

bool isBooleanParameter(DeviceParameter parameter)
{
    return parameter == DeviceParameter::MicroStepMultiplier ||
           parameter == DeviceParameter::MicroStepDoubleEdge ||
           parameter == DeviceParameter::HalfCurrentRange;
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

QString parameterValueText(DeviceParameter parameter, int value)
{
    return isBooleanParameter(parameter) ? booleanText(value != 0) : QString::number(value, 10);
}

QString parameterReport(DeviceParameter parameter, int value)
{
    return parameterName(parameter) + QStringLiteral(" = ") + parameterValueText(parameter, value);
}
