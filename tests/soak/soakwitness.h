// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/soak/soakfigures.h"
#include "tests/support/useractions.h"
#include "tools/emulator/fakemodule.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

class ConnectedWindow;
class LoopGapWatch;

// Watches one window and its module: every frame the module receives, every
// status bar message and every line of the file dialog's log. It checks the
// invariants as they happen and keeps, per value, whether a settled
// comparison has to excuse a difference between window and module.
class SoakWitness : public QObject, public UserActionHooks
{
public:
    SoakWitness(ConnectedWindow &rig, const LoopGapWatch &clock, SoakFigures &figures);

    // The module's faults are set through here, so the witness knows what
    // each reply carries.
    void setFaults(const FakeModuleFaults &faults);

    // User actions the invariants depend on.
    void noteOpened(bool simulator) override;
    void noteClosed() override;
    void noteProgramStarted();
    void noteReadStarted();

    // Whether the value (a parameter number, powerStageKey or pulseGeneratorKey) may differ
    // from the module's once everything settled.
    bool excused(int key) const { return doubts.value(key, false); }

    bool linkOpen() const { return link == Link::Open; }
    int pleaseSelectLines() const { return pleaseSelectCount; }
    int connectionLostMessages() const { return lostMessages; }

    // Waits until no frame came for quietMs of lively event loop.
    bool waitUntilQuiet(int quietMs, int timeoutMs) const;

    void record(const QString &event) override;
    void fail(const QString &failure) override;
    bool failed() const { return !failures.isEmpty(); }
    QString report() const;

private:
    enum class Link { Closed, Simulating, Open };

    void onFrame(const QByteArray &frame);
    void onStatusMessage(const QString &message);
    void onLogChanged();
    void onLogLine(const QString &line);
    void judgeRead(int number);
    void checkProgramConfirmation();

    ConnectedWindow &rig;
    const LoopGapWatch &clock;
    SoakFigures &figures;
    FakeModuleFaults faults;
    int framesSinceFaultsSet = 0;
    int frameCount = 0;
    int lastAcceptedWrite = -1;
    QHash<int, bool> doubts;

    Link link = Link::Closed;
    qint64 closedAt = 0;
    int framesSinceClosed = 0;

    bool programUnderWay = false;
    QSet<int> acceptedForProgram;

    int logLinesSeen = 0;
    int pleaseSelectCount = 0;
    int lostMessages = 0;

    QStringList history;
    QStringList failures;
};
