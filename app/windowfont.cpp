// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/windowfont.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// Close in width and look to the narrow dialog font the layout was drawn for:
// the condensed DejaVu face (Debian's fonts-dejavu-extra, which the package
// depends on), then Arial's metric twin, common on Linux desktops.
const QStringList narrowerFamilies = {QStringLiteral("DejaVu Sans Condensed"),
                                      QStringLiteral("Liberation Sans")};

int textWidth(const QWidget *widget, const QString &text)
{
    return widget->fontMetrics().size(Qt::TextShowMnemonic, text).width();
}

// A widget's size hint less its text is what it needs beside the text.
TextDemand demandByHint(const QWidget *widget, const QString &text, int hintWidth)
{
    return {text, widget->width(), hintWidth - textWidth(widget, text)};
}

// A push button's hint has a minimum width in some styles, so its padding is
// taken from the style for a text wider than any minimum.
TextDemand pushButtonDemand(const QPushButton *button)
{
    constexpr int wideText = 1000;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QSize contents(wideText, button->fontMetrics().height());
    const int width =
        button->style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, button).width();
    return {button->text(), button->width(), width - wideText};
}

} // namespace

QVector<TextDemand> textDemandsOf(const QWidget *root)
{
    QVector<TextDemand> demands;
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            if (!label->text().isEmpty())
                demands.append(demandByHint(label, label->text(), label->sizeHint().width()));
        } else if (const auto *button = qobject_cast<const QPushButton *>(widget)) {
            if (!button->text().isEmpty())
                demands.append(pushButtonDemand(button));
        } else if (qobject_cast<const QCheckBox *>(widget) ||
                   qobject_cast<const QRadioButton *>(widget)) {
            const auto *box = static_cast<const QAbstractButton *>(widget);
            demands.append(demandByHint(box, box->text(), box->sizeHint().width()));
        } else if (const auto *group = qobject_cast<const QGroupBox *>(widget)) {
            demands.append(demandByHint(group, group->title(), group->minimumSizeHint().width()));
        }
    }
    return demands;
}

void fitApplicationFont(const QWidget *window)
{
    const QFont font = window->font();
    const QFont fitting = fittingFont(font, narrowerFamilies, textDemandsOf(window));
    if (fitting != font)
        QApplication::setFont(fitting);
}
