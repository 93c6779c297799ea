#pragma once

#include <QObject>
#include <QStringList>

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
