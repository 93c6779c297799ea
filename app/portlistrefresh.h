// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/portannouncement.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QThread>

class QComboBox;
class QEvent;
class QWidget;

// Makes a port list follow the plugging of modules: right before the user
// opens it, with the mouse or the keyboard, it is built again from the ports
// there are then. The list is left alone while the Open button is disabled,
// that is while a port (or the simulator) is open.
class PortListRefresh : public QObject
{
    Q_OBJECT

public:
    PortListRefresh(QComboBox *portList, const QWidget *openPortButton);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *ports;
    const QWidget *openButton;
};

// Replaces the items by the texts, keeping the current item when it is among
// them; otherwise the first one becomes current, as when the list is first
// filled. An unchanged list is not touched.
void replacePortItems(QComboBox *ports, const QStringList &texts);

// The ports there are, listed on a thread of its own from its construction
// on. The system's listing looks at every terminal device there is (on Linux,
// udev walks the sysfs path of each), which takes about as long as building
// the window's form, so the two are done side by side.
class PortListing : public QThread
{
public:
    PortListing();
    ~PortListing() override;

    // Waits for the listing when it is not done yet.
    QList<PortDescription> ports();

protected:
    void run() override;

private:
    QList<PortDescription> listed;
};
