// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMap>
#include <QtGlobal>

// Reply statuses. Only StatusOk is fixed by the module's protocol; the others
// are this stand-in's own, one per reason, so a test can tell them apart.
enum ReplyStatus : int {
    StatusWrongChecksum = 1,
    StatusInvalidCommand = 2,
    StatusWrongType = 3,
    StatusInvalidValue = 4,
    StatusWriteRefused = 5,
    StatusOk = 100
};

// Module commands understood by the stand-in.
enum ModuleCommand : int {
    CommandRunPulseGenerator = 1,
    CommandSetParameter = 5,
    CommandGetParameter = 6,
    CommandSwitchPowerStage = 14
};

struct CommandResult
{
    int status;
    qint32 value;
};

// The module's settable state, kept as wire values, and what each command
// does to it. Knows nothing about frames or the serial line.
class ModuleRegisters
{
public:
    ModuleRegisters();

    bool hasParameter(int number) const { return values.contains(number); }
    // -1 for a number the module does not have.
    int parameter(int number) const { return values.value(number, -1); }
    // Stores any value, even one the module would refuse over the line,
    // so a test can put the module into a state a reply has to cope with.
    void setParameter(int number, int wireValue);
    // Largest value a reader of this parameter accepts in a get reply.
    int largestReadableValue(int number) const;

    bool powerStageOn() const { return powerOn; }
    int pulseFrequency() const { return pulseHz; }

    // Commands that change state are refused with StatusWriteRefused, and
    // change nothing, when writesRefused is set.
    CommandResult execute(int command, int type, int motor, qint32 value, bool writesRefused);

private:
    QMap<int, int> values;
    bool powerOn = true;
    int pulseHz = 0;
};
