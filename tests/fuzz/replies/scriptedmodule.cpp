// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/fuzz/replies/scriptedmodule.h"

#include "tests/fuzz/replies/fuzzcheck.h"
#include "tests/support/allowedrequests.h"
#include "tools/emulator/fakemodule.h"

namespace {

constexpr int frameSize = 9;
constexpr int statusByte = 2;
constexpr int valueLowByte = 7;
constexpr int successStatus = 100;
constexpr int getParameter = 6;

struct WireSetting
{
    int number;
    int value;
};

// Full current range, both currents 24, no standby delay, 16 microsteps
// (code 4), the multiplier on and double edge off.
constexpr WireSetting factorySettings[] = {
    {179, 0}, {6, 24}, {7, 24}, {214, 0}, {140, 4}, {160, 1}, {161, 0},
};

int factoryValue(int number)
{
    for (const WireSetting &setting : factorySettings) {
        if (setting.number == number)
            return setting.value;
    }
    return 0;
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

ScriptedModule::ScriptedModule(FakeModule &module)
    : module(module)
{
    module.setReplyOverride([this](const QByteArray &request) { return answer(request); });
}

ScriptedModule::~ScriptedModule()
{
    module.setReplyOverride({});
}

void ScriptedModule::expectRequest(Answer answer)
{
    nextAnswer = std::move(answer);
    expecting = true;
}

bool ScriptedModule::endExpecting()
{
    const bool came = !expecting;
    expecting = false;
    return came;
}

QByteArray ScriptedModule::answer(const QByteArray &request)
{
    const QString fault = requestFrameFault(request);
    if (!fault.isEmpty())
        failFuzzCheck(QStringLiteral("request %1: %2").arg(hex(request), fault));
    if (!expecting)
        failFuzzCheck(QStringLiteral("request %1 came outside an exchange").arg(hex(request)));
    expecting = false;

    const QByteArray reply = nextAnswer(request);
    if (isPowerStageRequest(request))
        offConfirmed = isPowerStageOffRequest(request) && reply.size() >= frameSize &&
                       quint8(reply.at(statusByte)) == successStatus;
    return reply;
}

QByteArray factoryModuleReply(const QByteArray &request)
{
    // Address 2, module 1, status, command echo, value, checksum.
    const int command = quint8(request.at(1));
    QByteArray reply(frameSize, '\0');
    reply[0] = char(2);
    reply[1] = char(1);
    reply[statusByte] = char(successStatus);
    reply[3] = char(command);
    if (command == getParameter)
        reply[valueLowByte] = char(factoryValue(quint8(request.at(2))));
    quint8 sum = 0;
    for (int i = 0; i < frameSize - 1; ++i)
        sum += quint8(reply.at(i));
    reply[frameSize - 1] = char(sum);
    return reply;
}
