// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include <functional>

class FakeModule;

// The module's side of a fuzz run: answers the one request it is told to
// expect with bytes of the run's choosing, fails the run on any request the
// programmer may not send or that comes when none is expected, and notes what
// the last power-stage switch was answered with.
class ScriptedModule
{
public:
    using Answer = std::function<QByteArray(const QByteArray &request)>;

    explicit ScriptedModule(FakeModule &module);
    ~ScriptedModule();
    ScriptedModule(const ScriptedModule &) = delete;
    ScriptedModule &operator=(const ScriptedModule &) = delete;

    void expectRequest(Answer answer);
    // Returns whether the expected request came.
    bool endExpecting();
    bool answered() const { return !expecting; }

    // Whether the last power-stage request was a switch-off answered by a
    // whole frame with the success status.
    bool powerStageOffConfirmed() const { return offConfirmed; }
    void forgetPowerStage() { offConfirmed = false; }

private:
    QByteArray answer(const QByteArray &request);

    FakeModule &module;
    Answer nextAnswer;
    bool expecting = false;
    bool offConfirmed = false;
};

// What a healthy module holding the factory settings answers.
QByteArray factoryModuleReply(const QByteArray &request);
