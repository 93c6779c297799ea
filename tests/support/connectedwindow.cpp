// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/connectedwindow.h"

#include "tests/support/eventwait.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>

namespace {

const char powerStageOffMessage[] = "Power stage is off. You can now plug or unplug the motor.";
constexpr int openingFrames = 8;
constexpr int quietTicks = 5;
constexpr int tickMs = 20;

} // namespace

ConnectedWindow::ConnectedWindow()
{
    if (module.start())
        module.announce();
    window = std::make_unique<MainWindow>();
}

ConnectedWindow::~ConnectedWindow() = default;

void ConnectedWindow::setRegisters(const Registers &registers)
{
    for (auto it = registers.cbegin(); it != registers.cend(); ++it)
        module.setParameter(it.key(), it.value());
}

bool ConnectedWindow::selectModulePort()
{
    auto *ports = widget<QComboBox>("serialPortComboBox");
    const int index = ports->findText(module.portName() + QLatin1Char(' '), Qt::MatchStartsWith);
    if (index < 0)
        return false;
    ports->setCurrentIndex(index);
    return true;
}

void ConnectedWindow::clickOpen()
{
    widget<QPushButton>("openButton")->click();
}

bool ConnectedWindow::open()
{
    if (!selectModulePort())
        return false;
    clickOpen();
    const bool opened = waitUntil([this] {
        return frames().size() >= openingFrames &&
               statusMessage() == QLatin1String(powerStageOffMessage);
    });
    module.clearReceivedFrames();
    return opened;
}

bool ConnectedWindow::waitForFrames(int count, int timeoutMs) const
{
    return waitUntil([this, count] { return frames().size() >= count; }, timeoutMs);
}

bool ConnectedWindow::waitUntilQuiet(int timeoutMs) const
{
    int seen = -1;
    QElapsedTimer sinceLastFrame;
    return waitUntil(
        [&] {
            const int now = frames().size();
            if (now != seen) {
                seen = now;
                sinceLastFrame.start();
            }
            return sinceLastFrame.elapsed() >= quietTicks * tickMs;
        },
        timeoutMs);
}

void ConnectedWindow::drag(QDial *dial, int position)
{
    dial->setSliderDown(true);
    dial->setSliderPosition(position);
    dial->setSliderDown(false);
}

QString hexFrame(std::initializer_list<int> bytes)
{
    QStringList parts;
    for (int byte : bytes)
        parts << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(' '));
}
