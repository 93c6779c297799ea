// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/dialaccessible.h"

#include <QAccessibleWidget>
#include <QDial>
#include <QLineEdit>
#include <QPointer>

namespace {

const char shownValueProperty[] = "shownValue";

QLineEdit *shownValueOf(const QDial *dial)
{
    return qobject_cast<QLineEdit *>(dial->property(shownValueProperty).value<QObject *>());
}

class DialAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit DialAccessible(QDial *dial)
        : QAccessibleWidget(dial, QAccessible::Dial)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        if (type != QAccessible::Value)
            return QAccessibleWidget::text(type);
        const QLineEdit *shown = shownValueOf(dial());
        return shown ? shown->text() : QString::number(dial()->value());
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return dial()->value(); }
    QVariant maximumValue() const override { return dial()->maximum(); }
    QVariant minimumValue() const override { return dial()->minimum(); }
    QVariant minimumStepSize() const override { return dial()->singleStep(); }

    // Set as a drag sets it, so that the dial's handler runs as for a person
    // and the module gets the value the text then shows.
    void setCurrentValue(const QVariant &value) override
    {
        QDial *knob = dial();
        knob->setSliderDown(true);
        knob->setSliderPosition(value.toInt());
        knob->setSliderDown(false);
    }

private:
    QDial *dial() const { return static_cast<QDial *>(widget()); }
};

QAccessibleInterface *dialAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QDial"))
        return new DialAccessible(static_cast<QDial *>(object));
    return nullptr;
}

} // namespace

void installDialAccessibility()
{
    QAccessible::installFactory(dialAccessibleFactory);
}

void showDialValueIn(QDial *dial, QLineEdit *text)
{
    dial->setProperty(shownValueProperty, QVariant::fromValue<QObject *>(text));
    QObject::connect(text, &QLineEdit::textChanged, dial, [dial](const QString &shown) {
        QAccessibleValueChangeEvent event(dial, shown);
        QAccessible::updateAccessibility(&event);
    });
}
