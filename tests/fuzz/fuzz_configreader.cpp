// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target for the configuration file reader: arbitrary bytes, read as a
// text-mode device exactly as a chosen file is. Besides crashes it traps on
// a stored value outside the parameter's range and on more log lines than
// the input can explain.

#include "config/configreader.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <limits>

namespace {

bool inRange(DeviceParameter parameter, int value)
{
    switch (parameter) {
    case DeviceParameter::MicroStepResolution:
        return value == 8 || value == 16 || value == 32 || value == 64 || value == 128 ||
               value == 256;
    case DeviceParameter::MicroStepMultiplier:
    case DeviceParameter::MicroStepDoubleEdge:
    case DeviceParameter::HalfCurrentRange:
        return value == 0 || value == 1;
    case DeviceParameter::RunCurrent:
    case DeviceParameter::StandbyCurrent:
        return value >= 0 && value <= 31;
    case DeviceParameter::StandbyCurrentDelay:
        return value >= 0 && value <= 255;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(std::numeric_limits<int>::max()))
        return 0;
    QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);

    // One line per input line at most, plus the header and a refusal.
    const qsizetype mostLines = bytes.count('\n') + 3;
    qsizetype logLines = 0;
    readConfiguration(
        buffer,
        [&](const QString &line) {
            if (line.isEmpty() || ++logLines > mostLines)
                __builtin_trap();
        },
        [](DeviceParameter parameter, int value) {
            if (!inRange(parameter, value))
                __builtin_trap();
        });
    return 0;
}
