// SPDX-License-Identifier: GPL-3.0-or-later

#include "config/configreader.h"

#include <QByteArray>
#include <QIODevice>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstddef>

namespace {

using Kind = ConfigurationLine::Kind;

std::optional<DeviceParameter> parameterForKey(const QString &key)
{
    const QString lowerKey = key.toLower();
    for (DeviceParameter parameter : allDeviceParameters) {
        if (parameterName(parameter).toLower() == lowerKey)
            return parameter;
    }
    return std::nullopt;
}

ConfigurationLine accepted(DeviceParameter parameter, int value)
{
    return {Kind::Value, parameter, value, parameterReport(parameter, value)};
}

ConfigurationLine refused(DeviceParameter parameter, const QString &expectation)
{
    return {Kind::Invalid, parameter, 0,
            QStringLiteral("ERROR: Invalid value for \"") + parameterName(parameter) +
                QStringLiteral("\"! ") + expectation};
}

// Not a number counts as 0; negative numbers fail as huge unsigned ones.
ConfigurationLine parseRanged(DeviceParameter parameter, const QString &value, unsigned maximum)
{
    const int number = value.toInt(nullptr, 10);
    if (static_cast<unsigned>(number) <= maximum)
        return accepted(parameter, number);
    return refused(parameter, QStringLiteral("Value out of range (0..%1)!").arg(maximum));
}

// "Either 8, 16, 32, 64, 128 or 256 expected!"
QString resolutionExpectation()
{
    QString listed;
    for (std::size_t index = 0; index < offeredResolutions.size(); ++index) {
        if (index > 0)
            listed += index + 1 == offeredResolutions.size() ? QStringLiteral(" or ")
                                                             : QStringLiteral(", ");
        listed += QString::number(offeredResolutions[index]);
    }
    return QStringLiteral("Either ") + listed + QStringLiteral(" expected!");
}

ConfigurationLine parseResolution(const QString &value)
{
    const int microsteps = value.toInt(nullptr, 10);
    if (std::find(offeredResolutions.begin(), offeredResolutions.end(), microsteps) !=
        offeredResolutions.end())
        return accepted(DeviceParameter::MicroStepResolution, microsteps);
    return refused(DeviceParameter::MicroStepResolution, resolutionExpectation());
}

ConfigurationLine parseBoolean(DeviceParameter parameter, const QString &value)
{
    const QString lowerValue = value.toLower();
    if (lowerValue == QLatin1String("true") || lowerValue == QLatin1String("false"))
        return accepted(parameter, lowerValue == QLatin1String("true"));
    QString expectation = QStringLiteral("Either TRUE or FALSE expected!");
    // The multiplier's message alone has always quoted the rejected value.
    if (parameter == DeviceParameter::MicroStepMultiplier)
        expectation += QLatin1Char('"') + lowerValue + QLatin1Char('"');
    return refused(parameter, expectation);
}

ConfigurationLine parseValue(DeviceParameter parameter, const QString &value)
{
    switch (parameterKind(parameter)) {
    case ParameterKind::Resolution:
        return parseResolution(value);
    case ParameterKind::Boolean:
        return parseBoolean(parameter, value);
    case ParameterKind::Current:
    case ParameterKind::Delay:
        break;
    }
    return parseRanged(parameter, value, unsigned(highestValue(parameter)));
}

// Control characters mean the file is not text at all. Bytes that are not
// UTF-8 (a comment typed in another encoding) are only an unknown parameter.
bool isPlainText(const QString &line)
{
    return std::none_of(line.begin(), line.end(), [](QChar character) {
        if (character == QLatin1Char('\t') || character == QLatin1Char('\n') ||
            character == QLatin1Char('\r'))
            return false;
        return character.category() == QChar::Other_Control;
    });
}

QString tooLargeMessage()
{
    return QStringLiteral("ERROR: File too large! At most %1 bytes expected!")
        .arg(maximumConfigurationFileSize);
}

// The next line as text, or nothing when it is refused; the refusal is logged.
std::optional<QString> readTextLine(QIODevice &device, qint64 &bytesRead,
                                    const std::function<void(const QString &)> &log)
{
    // Asking for a little more than a line may hold tells an overlong line apart.
    const QByteArray bytes = device.readLine(maximumConfigurationLineLength + 2);
    if (bytes.isEmpty()) {
        log(QStringLiteral("ERROR: Reading the file failed!"));
        return std::nullopt;
    }
    // Pipes and devices do not tell their size in advance.
    bytesRead += bytes.size();
    if (bytesRead > maximumConfigurationFileSize) {
        log(tooLargeMessage());
        return std::nullopt;
    }
    if (bytes.size() > maximumConfigurationLineLength) {
        log(QStringLiteral("ERROR: Line too long! At most %1 bytes per line expected!")
                .arg(maximumConfigurationLineLength));
        return std::nullopt;
    }
    // A NUL byte ends the line's text.
    const auto nul = bytes.indexOf('\0');
    const QString line = QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
    if (!isPlainText(line)) {
        log(QStringLiteral("ERROR: Binary data in file! Plain text expected!"));
        return std::nullopt;
    }
    return line;
}

} // namespace

ConfigurationLine parseConfigurationLine(const QString &line)
{
    // Every single blank and line feed separates: two in a row give an empty
    // field, so "RunCurrent  5" has an empty value.
    static const QRegularExpression separator(QStringLiteral(" |\n"));
    const QStringList fields = line.split(separator, Qt::KeepEmptyParts);
    const QString key = fields.value(0);
    const std::optional<DeviceParameter> parameter = parameterForKey(key);
    if (!parameter) {
        return {Kind::Unknown, std::nullopt, 0,
                QStringLiteral("WARNING: Unknown Parameter \"") + key +
                    QStringLiteral("\". Will be ignored.")};
    }
    // A key alone on the file's last line has no value field: an empty value.
    return parseValue(*parameter, fields.value(1));
}

bool readConfiguration(QIODevice &device, const std::function<void(const QString &)> &log,
                       const std::function<void(DeviceParameter, int)> &store)
{
    log(QStringLiteral("Reading values from file ..."));
    if (device.size() > maximumConfigurationFileSize) {
        log(tooLargeMessage());
        return false;
    }
    qint64 bytesRead = 0;
    while (!device.atEnd()) {
        const std::optional<QString> line = readTextLine(device, bytesRead, log);
        if (!line)
            return false;
        const ConfigurationLine parsed = parseConfigurationLine(*line);
        log(parsed.logLine);
        if (parsed.kind == Kind::Invalid)
            return false;
        if (parsed.kind == Kind::Value)
            store(*parsed.parameter, parsed.value);
    }
    return true;
}
