// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/windowwithmodule.h"

#include "bench/signalwait.h"

#include <QComboBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

#include <cstdio>

namespace {

const char powerStageOffMessage[] = "Power stage is off. You can now plug or unplug the motor.";
constexpr int microStepResolutionNumber = 140;
constexpr int microstepCode16 = 4;

} // namespace

WindowWithModule::WindowWithModule()
{
    // The port list is built once, when the window is constructed.
    if (module.start())
        module.announce();
    // At a resolution of 16 the microstep interlock corrects nothing, so
    // opening is the plain seven reads and the power-stage switch.
    module.setParameter(microStepResolutionNumber, microstepCode16);
    window = std::make_unique<MainWindow>();
    window->show();
}

bool WindowWithModule::selectModulePort()
{
    auto *ports = window->findChild<QComboBox *>(QStringLiteral("serialPortComboBox"));
    const int index = ports->findText(module.portName() + QLatin1Char(' '), Qt::MatchStartsWith);
    if (module.portName().isEmpty() || index < 0)
        return false;
    ports->setCurrentIndex(index);
    return true;
}

void WindowWithModule::clickOpen()
{
    window->findChild<QPushButton *>(QStringLiteral("openButton"))->click();
}

bool WindowWithModule::waitUntilOpened(int timeoutMs)
{
    const QStatusBar *statusBar = window->statusBar();
    return waitForSignal(
        statusBar, &QStatusBar::messageChanged,
        [statusBar] { return statusBar->currentMessage() == QLatin1String(powerStageOffMessage); },
        timeoutMs);
}

bool WindowWithModule::open()
{
    if (!selectModulePort())
        return false;
    clickOpen();
    return waitUntilOpened();
}

bool WindowWithModule::waitForLogLine(const QString &line, int timeoutMs)
{
    const auto *dialog = window->findChild<QDialog *>(QStringLiteral("ConfigurationFile"));
    const auto *log =
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("configurationFileLogTextEdit"));
    const int start = int(log->toPlainText().size());
    return waitForSignal(
        log, &QPlainTextEdit::textChanged,
        [log, line, start] { return log->toPlainText().indexOf(line, start) >= 0; }, timeoutMs);
}

int harnessFailed(const char *why)
{
    std::fprintf(stderr, "%s\n", why);
    return 1;
}
