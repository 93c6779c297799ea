// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/lostreply.h"
#include "bench/signalwait.h"
#include "bench/windowwithmodule.h"
#include "link/frame.h"

#include <QApplication>
#include <QDial>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

// From the stop button's click to the stop frame's arrival at the module, the
// motor turning at 1000 Hz: on a clean link, clicked at any moment of the
// exchange's two ticks, and while the link recovers from one lost reply (the
// wait for its late bytes and the hold that follows), clicked at any moment
// of that.

namespace {

constexpr int trials = 15;
constexpr double nanosecondsPerMillisecond = 1e6;
// Longer than the hold after a lost reply: the link is in step again.
constexpr int settledQuietMs = 700;

QByteArray frameBytes(Command command, int type, int value)
{
    const Frame frame = encodeFrame(int(command), type, 0, value);
    return QByteArray(reinterpret_cast<const char *>(frame.data()), frameLength);
}

void drag(QDial *dial, int position)
{
    dial->setSliderDown(true);
    dial->setSliderPosition(position);
    dial->setSliderDown(false);
}

struct Latencies
{
    QList<double> ms;
    void print(const char *name) const
    {
        QList<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        std::printf("stop_%s_median_ms %.3f\nstop_%s_worst_ms %.3f\n", name,
                    sorted.at(sorted.size() / 2), name, sorted.last());
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    WindowWithModule rig;
    if (!rig.open())
        return harnessFailed("The module's port did not open.");
    MainWindow &window = *rig.window;
    auto *stop = window.findChild<QPushButton *>(QStringLiteral("stopButton"));
    auto *right = window.findChild<QPushButton *>(QStringLiteral("rotateRightButton"));
    auto *runCurrent = window.findChild<QDial *>(QStringLiteral("runCurrentDial"));
    drag(window.findChild<QDial *>(QStringLiteral("pulseFrequencyDial")), 10);

    const QByteArray stopFrame = frameBytes(Command::RunPulseGenerator, 0, 0);
    QElapsedTimer clock;
    clock.start();
    qint64 arrivedNs = -1;
    QObject::connect(&rig.module, &FakeModule::frameReceived, [&](const QByteArray &frame) {
        if (frame == stopFrame && arrivedNs < 0)
            arrivedNs = clock.nsecsElapsed();
    });
    QRandomGenerator random(7316);
    Latencies clean;
    Latencies recovering;
    for (int trial = 0; trial < 2 * trials; ++trial) {
        const bool lostReply = trial % 2 == 1;
        right->click();
        if (!waitUntilModuleQuiet(rig.module, settledQuietMs, 10000) ||
            rig.module.pulseFrequency() != 1000)
            return harnessFailed("The motor did not start.");
        if (lostReply) {
            // A run current write whose reply is lost; the stop comes during
            // the wait for its late bytes or the hold after it.
            const int position = trial / 2 % 2 == 0 ? 40 : 42; // full range: 25, 27
            loseFirstReplyTo(rig.module, frameBytes(Command::SetParameter, 6, position - 15));
            drag(runCurrent, position);
            runEventsFor(int(random.bounded(40, 600)));
        } else {
            runEventsFor(int(random.bounded(0, 40)));
        }
        arrivedNs = -1;
        const qint64 clickedNs = clock.nsecsElapsed();
        stop->click();
        if (!waitForSignal(
                &rig.module, &FakeModule::frameReceived, [&] { return arrivedNs >= 0; }, 2000))
            return harnessFailed("The stop did not reach the module.");
        (lostReply ? recovering : clean).ms << (arrivedNs - clickedNs) / nanosecondsPerMillisecond;
        waitUntilModuleQuiet(rig.module, settledQuietMs, 10000);
    }
    clean.print("clean");
    recovering.print("recovering");
    return 0;
}
