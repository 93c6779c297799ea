// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/mainwindow.h"
#include "tools/emulator/fakemodule.h"

#include <memory>

// Says why on standard error; the harness's exit status.
int harnessFailed(const char *why);

// The programmer's window, shown, beside an in-process module stand-in on a
// pseudo-terminal that answers at once. The module's port is in the window's
// list as a user finds it.
class WindowWithModule
{
public:
    WindowWithModule();

    // Whether the module is up and its port listed.
    bool selectModulePort();
    void clickOpen();
    // Waits for the power-stage report that ends the opening exchange: the
    // cycle sends it after all seven reads, so every value is shown by then.
    bool waitUntilOpened(int timeoutMs = 5000);
    bool open();
    // Waits until the line is added to the configuration file dialog's log.
    bool waitForLogLine(const QString &line, int timeoutMs);

    FakeModule module;
    std::unique_ptr<MainWindow> window;
};
