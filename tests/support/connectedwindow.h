// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/mainwindow.h"
#include "tests/support/framelog.h"
#include "tools/emulator/fakemodule.h"

#include <QDial>
#include <QMap>
#include <QStatusBar>
#include <QStringList>

#include <memory>

// A programmer window and a module stand-in behind a real pseudo-terminal,
// reached through the window's port list as a user reaches a module.
class ConnectedWindow
{
public:
    // Module registers by parameter number, as wire values.
    using Registers = QMap<int, int>;

    ConnectedWindow();
    ~ConnectedWindow();

    FakeModule module;
    std::unique_ptr<MainWindow> window;

    template <typename Widget> Widget *widget(const char *objectName) const
    {
        return window->findChild<Widget *>(QLatin1String(objectName));
    }

    void setRegisters(const Registers &registers);

    // Selects the module's port, clicks Open and waits until the opening's
    // reads and power-stage switch are done. Clears the module's frame log.
    bool open();
    bool selectModulePort();
    void clickOpen();

    // Frames the module received, as "01 06 B3 00 00 00 00 00 BA".
    QStringList frames() const { return module.receivedFrames(); }
    QStringList distinctFrames() const { return withoutRepeats(frames()); }
    bool waitForFrames(int count, int timeoutMs = 3000) const;
    // Waits until the cycle has nothing left to send, seen as no new frame for
    // a few ticks.
    bool waitUntilQuiet(int timeoutMs = 5000) const;

    QString statusMessage() const { return window->statusBar()->currentMessage(); }

    static void drag(QDial *dial, int position);
};

// The bytes as the module's log shows them.
QString hexFrame(std::initializer_list<int> bytes);
