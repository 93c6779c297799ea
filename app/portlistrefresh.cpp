// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/portlistrefresh.h"

#include "link/serialports.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// The presses and keys with which a non-editable combo box opens its list.
bool opensList(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
    case QEvent::KeyPress: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_F4:
            return key->modifiers() == Qt::NoModifier;
        case Qt::Key_Space:
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            return key->modifiers().testFlag(Qt::AltModifier);
        default:
            return false;
        }
    }
    default:
        return false;
    }
}

QStringList itemTexts(const QComboBox *ports)
{
    QStringList texts;
    for (int index = 0; index < ports->count(); ++index)
        texts.append(ports->itemText(index));
    return texts;
}

} // namespace

PortListRefresh::PortListRefresh(QComboBox *portList, const QWidget *openPortButton)
    : QObject(portList)
    , ports(portList)
    , openButton(openPortButton)
{
    ports->installEventFilter(this);
}

bool PortListRefresh::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ports && openButton->isEnabled() && opensList(event))
        replacePortItems(ports, portItemTexts(availablePorts()));
    return false;
}

void replacePortItems(QComboBox *ports, const QStringList &texts)
{
    if (itemTexts(ports) == texts)
        return;
    const QString current = ports->currentText();
    ports->clear();
    ports->addItems(texts);
    const int kept = ports->findText(current);
    if (kept >= 0)
        ports->setCurrentIndex(kept);
}

PortListing::PortListing()
{
    start();
}

PortListing::~PortListing()
{
    wait();
}

QList<PortDescription> PortListing::ports()
{
    wait();
    return listed;
}

void PortListing::run()
{
    listed = availablePorts();
}
