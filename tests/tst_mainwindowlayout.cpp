// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/configurationfile.h"
#include "app/fittingfont.h"
#include "app/highdpi.h"
#include "app/mainwindow.h"
#include "link/displayformat.h"
#include "link/parametertable.h"
#include "ui_mainwindow.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

Q_DECLARE_METATYPE(const QMetaObject *)

namespace {

// Label alignments as QLabel reports them.
const int alignedRightCentred = 0x82; // AlignRight | AlignTrailing | AlignVCenter
const int alignedLeftCentred = 0x81;  // AlignLeading | AlignLeft | AlignVCenter, also Qt's default

struct FormObject
{
    QString name;
    QString className;
    QString parent;
    QVariantMap properties;
};

QVariantMap placed(const QRect &geometry, QVariantMap properties = {})
{
    properties.insert(QStringLiteral("geometry"), geometry);
    return properties;
}

QVariantMap texted(const QRect &geometry, const QString &text)
{
    return placed(geometry, {{"text", text}});
}

QVariantMap label(const QRect &geometry, const QString &text, int alignment = alignedLeftCentred)
{
    // As the property's own type: Qt 6 does not compare a flags variant equal to an int.
    return placed(geometry,
                  {{"text", text}, {"alignment", QVariant::fromValue(Qt::Alignment(alignment))}});
}

QVariantMap groupBox(const QRect &geometry, const QString &title, bool checkable = false)
{
    return placed(geometry, {{"title", title}, {"checkable", checkable}});
}

QVariantMap comboBox(const QRect &geometry)
{
    return placed(geometry, {{"editable", false}});
}

QVariantMap lineEdit(const QRect &geometry, bool readOnly)
{
    return placed(geometry, {{"readOnly", readOnly}});
}

QVariantMap dial(const QRect &geometry, int maximum, bool wrapping = false)
{
    return placed(
        geometry,
        {{"minimum", 0}, {"maximum", maximum}, {"wrapping", wrapping}, {"notchesVisible", true}});
}

// What a screen reader calls the control.
QVariantMap spoken(const QString &accessibleName, QVariantMap properties)
{
    properties.insert(QStringLiteral("accessibleName"), accessibleName);
    return properties;
}

// The main window's form objects in creation order. Start-up replaces the stop button's
// form text, so its row leaves the text out; formTextsBeforeStartUp checks it. A dial's
// maximum is what it shows at its end: its parameter's highest value (the run current's
// on the full scale), the last of the pulse dial's positions.
std::vector<FormObject> mainWindowObjects()
{
    const QString window = QStringLiteral("MainWindow");
    const QString central = QStringLiteral("centralWidget");
    const QString comPort = QStringLiteral("COMport");
    const QString advanced = QStringLiteral("motorCurrent");
    const QString microsteps = QStringLiteral("microstepsPerFullstep");
    const QString standby = QStringLiteral("standbyCurrentGroupBox");
    const QString generator = QStringLiteral("FrequencyGenerator");
    const QString basic = QStringLiteral("groupBox");
    return {
        {"actionConfiguration_File", "QAction", window, {{"text", "Configuration File"}}},
        {"actionReset_to_Factory_Defaults",
         "QAction",
         window,
         {{"text", "Reset to Factory Defaults"}}},
        {"centralWidget", "QWidget", window, {}},
        {"COMport", "QGroupBox", central, groupBox({10, 10, 671, 61}, "COM port")},
        {"serialPortComboBox", "QComboBox", comPort,
         spoken("COM port", comboBox({20, 20, 471, 22}))},
        {"openButton", "QPushButton", comPort,
         spoken("Open COM port", texted({500, 20, 75, 23}, "Open"))},
        {"closeButton", "QPushButton", comPort,
         spoken("Close COM port", texted({580, 20, 75, 23}, "Close"))},
        {"motorCurrent", "QGroupBox", central,
         groupBox({210, 80, 471, 241}, "Optional Advanced Settings")},
        {"microstepsPerFullstep", "QGroupBox", advanced,
         groupBox({10, 160, 451, 71}, "Microsteps per Fullstep")},
        {"microstepComboBox", "QComboBox", microsteps,
         spoken("Microsteps per full step", comboBox({100, 30, 69, 22}))},
        {"label", "QLabel", microsteps, label({30, 30, 61, 16}, "Microsteps")},
        {"x16CheckBox", "QCheckBox", microsteps,
         spoken("Microstep multiplier stepWeaver (x16)",
                texted({210, 30, 111, 17}, "stepWeaver (x16)"))},
        {"doubleEdgeCheckBox", "QCheckBox", microsteps,
         spoken("Double edge stepping", texted({350, 30, 91, 17}, "double edge"))},
        {"standbyCurrentGroupBox", "QGroupBox", advanced,
         spoken("Own standby current", groupBox({10, 30, 451, 121}, "Standby Current", true))},
        {"delayLineEdit", "QLineEdit", standby,
         spoken("Standby current delay value", lineEdit({20, 80, 61, 20}, true))},
        {"label_6", "QLabel", standby, label({20, 60, 71, 16}, "Delay")},
        {"delayDial", "QDial", standby,
         spoken("Standby current delay",
                dial({100, 20, 90, 90}, highestValue(DeviceParameter::StandbyCurrentDelay)))},
        {"FrequencyGenerator", "QGroupBox", central,
         groupBox({10, 330, 671, 141}, "Pulse Generator for Quick Start")},
        {"pulseFrequencyLineEdit", "QLineEdit", generator,
         spoken("Pulse frequency value", lineEdit({20, 100, 81, 20}, true))},
        {"label_8", "QLabel", generator, label({20, 80, 91, 16}, "Pulse frequency")},
        {"pulseFrequencyDial", "QDial", generator,
         spoken("Pulse frequency", dial({180, 20, 110, 110}, pulseDialPositions - 1, true))},
        {"motorFullStepsLineEdit", "QLineEdit", generator,
         spoken("Motor full steps per rotation", lineEdit({450, 40, 61, 20}, false))},
        {"label_9", "QLabel", generator,
         label({300, 40, 141, 16}, "Motor fullsteps per rotation", alignedRightCentred)},
        {"herzRadioButton", "QRadioButton", generator,
         spoken("Pulse frequency in steps of 1 Hz", texted({120, 70, 51, 17}, "Hz"))},
        {"x100HzRadioButton", "QRadioButton", generator,
         spoken("Pulse frequency in steps of 100 Hz", texted({120, 100, 61, 17}, "x100Hz"))},
        {"label_10", "QLabel", generator,
         label({320, 100, 121, 16}, "Resulting motor speed", alignedRightCentred)},
        {"rpmLineEdit", "QLineEdit", generator,
         spoken("Resulting motor speed in rpm", lineEdit({450, 100, 61, 20}, true))},
        {"stopButton", "QPushButton", generator, placed({560, 80, 91, 41})},
        {"label_11", "QLabel", generator, label({520, 100, 41, 16}, "rpm", alignedLeftCentred)},
        {"rotateLeftButton", "QPushButton", generator,
         spoken("Rotate left", texted({560, 40, 41, 31}, QString()))},
        {"rotateRightButton", "QPushButton", generator,
         spoken("Rotate right", texted({610, 40, 41, 31}, QString()))},
        {"motorStepAngleLineEdit", "QLineEdit", generator,
         spoken("Motor step angle in degrees", lineEdit({450, 70, 61, 20}, false))},
        {"label_12", "QLabel", generator,
         label({300, 70, 141, 16}, "Motor  Step Angle", alignedRightCentred)},
        {"label_13", "QLabel", generator, label({520, 70, 41, 16}, "deg", alignedLeftCentred)},
        {"groupBox", "QGroupBox", central, groupBox({10, 80, 191, 241}, "Basic Settings")},
        {"runCurrentDial", "QDial", basic,
         spoken("Run current",
                dial({20, 30, 150, 150},
                     runCurrentDialPosition(highestValue(DeviceParameter::RunCurrent), false)))},
        {"runCurrentLineEdit", "QLineEdit", basic,
         spoken("Run current value", lineEdit({60, 210, 61, 20}, true))},
        {"label_5", "QLabel", basic, label({60, 190, 71, 16}, "Run current")},
        {"standbyCurrentDial", "QDial", central,
         spoken("Standby current",
                dial({560, 130, 90, 90}, highestValue(DeviceParameter::StandbyCurrent)))},
        {"standbyCurrentLineEdit", "QLineEdit", central,
         spoken("Standby current value", lineEdit({460, 190, 61, 20}, true))},
        {"label_7", "QLabel", central, label({460, 170, 91, 16}, "Standby Current")},
        {"menuBar", "QMenuBar", window, placed({0, 0, 692, 21})},
        {"menuTools", "QMenu", "menuBar", {{"title", "Tools"}}},
        {"statusBar", "QStatusBar", window, {}},
    };
}

std::vector<FormObject> configurationFileObjects()
{
    const QString dialog = QStringLiteral("ConfigurationFile");
    return {
        {"filePathLineEdit", "QLineEdit", dialog,
         placed({20, 20, 301, 20}, {{"readOnly", true}, {"text", QString()}})},
        {"fileSelectButton", "QPushButton", dialog, texted({330, 20, 31, 23}, "...")},
        {"writeButton", "QPushButton", dialog, texted({20, 50, 101, 23}, "Program")},
        {"verifyButton", "QPushButton", dialog, texted({140, 50, 101, 23}, "Verify")},
        {"readButton", "QPushButton", dialog, texted({260, 50, 101, 23}, "Read")},
        {"configurationFileLogTextEdit", "QPlainTextEdit", dialog,
         placed({20, 80, 341, 231}, {{"readOnly", false}, {"plainText", QString()}})},
        {"okButton", "QPushButton", dialog, texted({290, 320, 75, 23}, "OK")},
    };
}

std::vector<FormObject> allFormObjects()
{
    std::vector<FormObject> objects = mainWindowObjects();
    const std::vector<FormObject> dialogObjects = configurationFileObjects();
    objects.insert(objects.end(), dialogObjects.begin(), dialogObjects.end());
    return objects;
}

// A slot in meta-object order and the signal it must be connected to. An empty
// sender stands for the window's timer.
struct SlotConnection
{
    QString slot;
    QString sender;
    QString signal;
};

std::vector<SlotConnection> mainWindowSlots()
{
    return {
        {"on_openButton_clicked()", "openButton", "clicked()"},
        {"on_closeButton_clicked()", "closeButton", "clicked()"},
        {"on_microstepComboBox_currentIndexChanged(QString)", "microstepComboBox",
         "currentIndexChanged(QString)"},
        {"on_x16CheckBox_clicked(bool)", "x16CheckBox", "clicked(bool)"},
        {"on_doubleEdgeCheckBox_clicked(bool)", "doubleEdgeCheckBox", "clicked(bool)"},
        {"on_runCurrentDial_sliderMoved(int)", "runCurrentDial", "sliderMoved(int)"},
        {"on_delayDial_sliderMoved(int)", "delayDial", "sliderMoved(int)"},
        {"on_standbyCurrentDial_sliderMoved(int)", "standbyCurrentDial", "sliderMoved(int)"},
        {"on_herzRadioButton_clicked()", "herzRadioButton", "clicked()"},
        {"on_x100HzRadioButton_clicked()", "x100HzRadioButton", "clicked()"},
        {"on_pulseFrequencyDial_sliderMoved(int)", "pulseFrequencyDial", "sliderMoved(int)"},
        {"on_timerEvent()", QString(), "timeout()"},
        {"on_standbyCurrentGroupBox_clicked(bool)", "standbyCurrentGroupBox", "clicked(bool)"},
        {"on_rotateLeftButton_clicked()", "rotateLeftButton", "clicked()"},
        {"on_rotateRightButton_clicked()", "rotateRightButton", "clicked()"},
        {"on_stopButton_clicked()", "stopButton", "clicked()"},
        {"on_actionConfiguration_File_triggered()", "actionConfiguration_File", "triggered()"},
        {"on_actionReset_to_Factory_Defaults_triggered()", "actionReset_to_Factory_Defaults",
         "triggered()"},
        {"on_motorStepAngleLineEdit_textChanged(QString)", "motorStepAngleLineEdit",
         "textChanged(QString)"},
        {"on_motorFullStepsLineEdit_textChanged(QString)", "motorFullStepsLineEdit",
         "textChanged(QString)"},
    };
}

std::vector<SlotConnection> configurationFileSlots()
{
    return {
        {"on_fileSelectButton_clicked()", "fileSelectButton", "clicked()"},
        {"on_writeButton_clicked()", "writeButton", "clicked()"},
        {"on_okButton_clicked()", "okButton", "clicked()"},
        {"on_readButton_clicked()", "readButton", "clicked()"},
        {"on_verifyButton_clicked()", "verifyButton", "clicked()"},
    };
}

QStringList signaturesOf(const std::vector<SlotConnection> &slotConnections)
{
    QStringList signatures;
    for (const SlotConnection &connection : slotConnections)
        signatures << connection.slot;
    return signatures;
}

QString describe(const QVariant &value)
{
    // QTest::toString hands over a new[] buffer.
    const QScopedArrayPointer<char> text(QTest::toString(value));
    return QString::fromUtf8(text.data());
}

// Width the widget's text needs and the width it has; none for widgets without
// text. A push button draws its text clipped to the style's contents area; the
// others ask in their size hints for their whole text, indicator included.
QPair<int, int> textWidths(const QWidget *widget)
{
    const auto *button = qobject_cast<const QPushButton *>(widget);
    if (button && !button->text().isEmpty()) {
        QStyleOptionButton option;
        option.initFrom(button);
        return {button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width(),
                button->style()
                    ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                    .width()};
    }
    if (qobject_cast<const QGroupBox *>(widget))
        return {widget->minimumSizeHint().width(), widget->width()};
    if (qobject_cast<const QLabel *>(widget) || qobject_cast<const QCheckBox *>(widget) ||
        qobject_cast<const QRadioButton *>(widget))
        return {widget->sizeHint().width(), widget->width()};
    return {};
}

QFont face(const QString &family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

class MainWindowLayoutTest : public QObject
{
    Q_OBJECT

public:
    // The runs at a screen's factor start as the program starts.
    static void initMain()
    {
        if (qEnvironmentVariableIsSet("VELD_SCREEN_FACTOR"))
            scaleWithHighDpiScreens();
    }

private slots:
    void init();
    void cleanup();

    void formObject_data();
    void formObject();
    void creationOrderAmongSiblings_data();
    void creationOrderAmongSiblings();
    void windowIsFixedAndTitled();
    void windowTakesTheScreensFactor();
    void windowInstallsCentralWidgetAndBars();
    void toolsMenuContents();
    void rotateButtonShowsOnlyItsIcon_data();
    void rotateButtonShowsOnlyItsIcon();
    void radioButtonsFormAnAutoExclusivePair();
    void radioButtonClickClearsTheOther_data();
    void radioButtonClickClearsTheOther();
    void standbyControlsReceiveTheMouse_data();
    void standbyControlsReceiveTheMouse();
    void dialSpeaksTheTextShownForIt_data();
    void dialSpeaksTheTextShownForIt();
    void formTextsBeforeStartUp();
    void configurationFileDialogWindow();
    void textFitsItsWidget_data();
    void textFitsItsWidget();
    void fontChoice();

    void metaObjectSurface_data();
    void metaObjectSurface();
    void slotIsConnected_data();
    void slotIsConnected();

private:
    QObject *objectNamed(const QString &name) const;
    bool openSimulator() const;

    std::unique_ptr<MainWindow> window;
};

QObject *MainWindowLayoutTest::objectNamed(const QString &name) const
{
    if (window->objectName() == name)
        return window.get();
    return window->findChild<QObject *>(name);
}

// Opening "Simulator" enables the settings controls without any port.
bool MainWindowLayoutTest::openSimulator() const
{
    auto *ports = window->findChild<QComboBox *>("serialPortComboBox");
    auto *openButton = window->findChild<QPushButton *>("openButton");
    if (!ports || !openButton)
        return false;
    const int simulator = ports->findText("Simulator");
    if (simulator < 0)
        return false;
    ports->setCurrentIndex(simulator);
    openButton->click();
    return !openButton->isEnabled();
}

void MainWindowLayoutTest::init()
{
    window = std::make_unique<MainWindow>();
}

void MainWindowLayoutTest::cleanup()
{
    window.reset();
}

void MainWindowLayoutTest::formObject_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QVariantMap>("properties");
    for (const FormObject &object : allFormObjects())
        QTest::newRow(qPrintable(object.name))
            << object.name << object.className << object.parent << object.properties;
}

void MainWindowLayoutTest::formObject()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QVariantMap, properties);

    const QObject *object = window->findChild<QObject *>(name);
    QVERIFY2(object, qPrintable(name));
    QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
    QVERIFY(object->parent());
    QCOMPARE(object->parent()->objectName(), parentName);
    for (auto property = properties.cbegin(); property != properties.cend(); ++property) {
        const QVariant actual = object->property(property.key().toLatin1().constData());
        QVERIFY2(actual.isValid(), qPrintable("no property " + property.key()));
        QVERIFY2(actual == property.value(), qPrintable(QString("%1 is %2, expected %3")
                                                            .arg(property.key(), describe(actual),
                                                                 describe(property.value()))));
    }
}

// Creation order is the order of each parent's children. The window and the menu bar
// own objects beyond the form's (timer, validators, dialog, extension button), so only
// the form's objects are compared there; every other parent holds no other widget.
void MainWindowLayoutTest::creationOrderAmongSiblings_data()
{
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QStringList>("children");
    QTest::addColumn<bool>("onlyTheseWidgets");

    QStringList parents;
    QMap<QString, QStringList> childrenByParent;
    for (const FormObject &object : allFormObjects()) {
        if (!parents.contains(object.parent))
            parents << object.parent;
        childrenByParent[object.parent] << object.name;
    }
    const QStringList sharedParents = {"MainWindow", "menuBar"};
    for (const QString &parent : parents)
        QTest::newRow(qPrintable(parent))
            << parent << childrenByParent.value(parent) << !sharedParents.contains(parent);
}

void MainWindowLayoutTest::creationOrderAmongSiblings()
{
    QFETCH(QString, parentName);
    QFETCH(QStringList, children);
    QFETCH(bool, onlyTheseWidgets);

    const QObject *parent = objectNamed(parentName);
    QVERIFY2(parent, qPrintable(parentName));
    QStringList actual;
    for (const QObject *child : parent->children()) {
        const bool compared =
            onlyTheseWidgets ? child->isWidgetType() : children.contains(child->objectName());
        if (compared)
            actual << child->objectName();
    }
    QCOMPARE(actual, children);
}

void MainWindowLayoutTest::windowIsFixedAndTitled()
{
    const QSize fixedSize(692, 521);
    QCOMPARE(window->objectName(), QString("MainWindow"));
    QCOMPARE(window->windowTitle(), QString("VELD-7316 USB serial programmer V0.90"));
    QCOMPARE(window->size(), fixedSize);
    QCOMPARE(window->minimumSize(), fixedSize);
    QCOMPARE(window->maximumSize(), fixedSize);
}

// Run with the screen at a factor, which VELD_SCREEN_FACTOR names: the window
// keeps its design in its own pixels and takes exactly that factor, unrounded.
void MainWindowLayoutTest::windowTakesTheScreensFactor()
{
    bool given = false;
    const qreal factor = qEnvironmentVariable("VELD_SCREEN_FACTOR").toDouble(&given);
    if (!given)
        QSKIP("for runs with the screen at a factor named by VELD_SCREEN_FACTOR");
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QSize design(692, 521);
    QCOMPARE(window->size(), design);
    QCOMPARE(window->devicePixelRatioF(), factor);
#ifdef Q_OS_WIN
    // As Windows measures it: the window's inside in the screen's pixels.
    RECT inside;
    QVERIFY(GetClientRect(reinterpret_cast<HWND>(window->winId()), &inside));
    QCOMPARE(QSize(inside.right - inside.left, inside.bottom - inside.top), design * factor);
#endif
}

void MainWindowLayoutTest::windowInstallsCentralWidgetAndBars()
{
    QWidget *central = window->centralWidget();
    QVERIFY(central);
    QCOMPARE(central->objectName(), QString("centralWidget"));
    QWidget *menuBar = window->menuWidget();
    QVERIFY(menuBar);
    QCOMPARE(menuBar->objectName(), QString("menuBar"));
    const auto *statusBar = window->findChild<QStatusBar *>("statusBar");
    QVERIFY(statusBar);
    QCOMPARE(window->statusBar(), statusBar);
}

void MainWindowLayoutTest::toolsMenuContents()
{
    const auto *menuBar = window->findChild<QMenuBar *>("menuBar");
    const auto *menuTools = window->findChild<QMenu *>("menuTools");
    const auto *configurationFile = window->findChild<QAction *>("actionConfiguration_File");
    const auto *factoryDefaults = window->findChild<QAction *>("actionReset_to_Factory_Defaults");
    QVERIFY(menuBar && menuTools && configurationFile && factoryDefaults);

    QCOMPARE(menuBar->actions(), QList<QAction *>{menuTools->menuAction()});
    const QList<QAction *> entries = menuTools->actions();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0), configurationFile);
    QVERIFY(entries.at(1)->isSeparator());
    QCOMPARE(entries.at(2), factoryDefaults);
    for (const QAction *action : {configurationFile, factoryDefaults}) {
        QVERIFY(action->shortcut().isEmpty());
        QVERIFY(action->icon().isNull());
        QVERIFY(!action->isCheckable());
    }
}

void MainWindowLayoutTest::rotateButtonShowsOnlyItsIcon_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("imagePath");
    QTest::newRow("left") << "rotateLeftButton"
                          << ":/player/Left.png";
    QTest::newRow("right") << "rotateRightButton"
                           << ":/player/Right.png";
}

void MainWindowLayoutTest::rotateButtonShowsOnlyItsIcon()
{
    QFETCH(QString, name);
    QFETCH(QString, imagePath);

    const auto *button = window->findChild<QPushButton *>(name);
    QVERIFY(button);
    QVERIFY(button->text().isEmpty());
    // Compared premultiplied, as a pixmap holds it, so rounding cannot differ.
    const QImage expected = QImage(imagePath).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY2(!expected.isNull(), qPrintable(imagePath));
    const QIcon icon = button->icon();
    QVERIFY(!icon.isNull());
    // An icon names a file even when the file is missing; its pixels tell the truth.
    QCOMPARE(
        icon.pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
        expected);
}

void MainWindowLayoutTest::radioButtonsFormAnAutoExclusivePair()
{
    const auto *generator = window->findChild<QGroupBox *>("FrequencyGenerator");
    QVERIFY(generator);
    const QList<QRadioButton *> pair =
        generator->findChildren<QRadioButton *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(pair.size(), 2);
    QCOMPARE(window->findChildren<QRadioButton *>().size(), 2);
    for (const QRadioButton *button : pair) {
        QVERIFY(button->autoExclusive());
        QVERIFY(!button->group());
    }
}

void MainWindowLayoutTest::radioButtonClickClearsTheOther_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("cleared");
    QTest::newRow("Hz clears x100Hz") << "herzRadioButton"
                                      << "x100HzRadioButton";
    QTest::newRow("x100Hz clears Hz") << "x100HzRadioButton"
                                      << "herzRadioButton";
}

void MainWindowLayoutTest::radioButtonClickClearsTheOther()
{
    QFETCH(QString, clicked);
    QFETCH(QString, cleared);

    auto *clickedButton = window->findChild<QRadioButton *>(clicked);
    auto *clearedButton = window->findChild<QRadioButton *>(cleared);
    QVERIFY(clickedButton && clearedButton);
    QVERIFY(openSimulator());

    clearedButton->click();
    QVERIFY(clearedButton->isChecked());
    clickedButton->click();
    QVERIFY(clickedButton->isChecked());
    QVERIFY(!clearedButton->isChecked());

    // Checking from code runs no click handler, so only auto-exclusivity can clear it.
    clearedButton->setChecked(true);
    QVERIFY(!clickedButton->isChecked());
}

void MainWindowLayoutTest::standbyControlsReceiveTheMouse_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("standbyCurrentDial") << "standbyCurrentDial";
    QTest::newRow("standbyCurrentLineEdit") << "standbyCurrentLineEdit";
    QTest::newRow("label_7") << "label_7";
}

// The three lie over the group boxes; only stacking above them lets the mouse reach them.
void MainWindowLayoutTest::standbyControlsReceiveTheMouse()
{
    QFETCH(QString, name);

    auto *widget = window->findChild<QWidget *>(name);
    QVERIFY(widget);
    const auto *standbyBox = window->findChild<QGroupBox *>("standbyCurrentGroupBox");
    QVERIFY(standbyBox);
    const QRect standbyArea(standbyBox->mapTo(window->centralWidget(), QPoint()),
                            standbyBox->size());
    QVERIFY(standbyArea.contains(widget->geometry()));
    window->show();
    QCOMPARE(window->centralWidget()->childAt(widget->geometry().center()), widget);
}

void MainWindowLayoutTest::dialSpeaksTheTextShownForIt_data()
{
    QTest::addColumn<QString>("dialName");
    QTest::addColumn<int>("draggedTo");
    QTest::addColumn<int>("setByScreenReaderTo");
    QTest::newRow("run current") << "runCurrentDial" << 40 << 20;
    QTest::newRow("standby current") << "standbyCurrentDial" << 10 << 20;
    QTest::newRow("delay") << "delayDial" << 100 << 200;
    QTest::newRow("pulse frequency") << "pulseFrequencyDial" << 3 << 5;
}

// Screen readers hear a dial's value as the text shown for it; a value they
// set turns the dial as a drag does.
void MainWindowLayoutTest::dialSpeaksTheTextShownForIt()
{
    QFETCH(QString, dialName);
    QFETCH(int, draggedTo);
    QFETCH(int, setByScreenReaderTo);

    auto *dial = window->findChild<QDial *>(dialName);
    const auto *text = window->findChild<QLineEdit *>(dialName.replace("Dial", "LineEdit"));
    QVERIFY(dial && text && openSimulator());
    QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(dial);
    QVERIFY(spoken && spoken->valueInterface());

    dial->setSliderDown(true);
    dial->setSliderPosition(draggedTo);
    dial->setSliderDown(false);
    const QString dragged = text->text();
    QCOMPARE(spoken->text(QAccessible::Value), dragged);
    spoken->valueInterface()->setCurrentValue(setByScreenReaderTo);
    QCOMPARE(dial->value(), setByScreenReaderTo);
    QVERIFY(text->text() != dragged);
    QCOMPARE(spoken->text(QAccessible::Value), text->text());
}

void MainWindowLayoutTest::formTextsBeforeStartUp()
{
    QMainWindow bareWindow;
    Ui::MainWindow form;
    form.setupUi(&bareWindow);
    QCOMPARE(form.stopButton->text(), QString("STOP"));
    QVERIFY(form.standbyCurrentGroupBox->isChecked());
}

void MainWindowLayoutTest::configurationFileDialogWindow()
{
    const auto *dialog = window->findChild<QDialog *>("ConfigurationFile");
    QVERIFY(dialog);
    QCOMPARE(dialog->metaObject(), &ConfigurationFile::staticMetaObject);
    QCOMPARE(dialog->parent(), static_cast<QObject *>(window.get()));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Configuration File"));
    QCOMPARE(dialog->size(), QSize(380, 353));
    const QSizePolicy policy = dialog->sizePolicy();
    QCOMPARE(policy.horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(policy.verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(policy.horizontalStretch(), 0);
    QCOMPARE(policy.verticalStretch(), 0);
    QVERIFY(!dialog->isSizeGripEnabled());
    QVERIFY(!dialog->isModal());
}

// Every text of the window and of its dialog.
void MainWindowLayoutTest::textFitsItsWidget_data()
{
    QTest::addColumn<QString>("name");
    const MainWindow walked;
    for (const QWidget *widget : walked.findChildren<QWidget *>()) {
        if (textWidths(widget) != QPair<int, int>())
            QTest::newRow(qPrintable(widget->objectName())) << widget->objectName();
    }
}

void MainWindowLayoutTest::textFitsItsWidget()
{
    QFETCH(QString, name);

    const QWidget *widget = window->findChild<QWidget *>(name);
    QVERIFY(widget);
    const QPair<int, int> widths = textWidths(widget);
    QVERIFY2(widths.first <= widths.second, qPrintable(QString("needs %1 px, has %2 in %3")
                                                           .arg(widths.first)
                                                           .arg(widths.second)
                                                           .arg(widget->font().toString())));
}

// The given font, a narrower family at the largest size that fits, the given
// family shrunk when no narrower one is installed.
void MainWindowLayoutTest::fontChoice()
{
    const QString text = QStringLiteral("Resulting motor speed");
    const auto choice = [&](const QStringList &narrowerFamilies, const QFont &fitsIn) {
        const int width = QFontMetrics(fitsIn).size(Qt::TextShowMnemonic, text).width();
        const QFontInfo chosen(
            fittingFont(face("DejaVu Sans", 13), narrowerFamilies, {{text, width + 20, 20}}));
        return chosen.family() + ' ' + QString::number(chosen.pixelSize());
    };
    const QStringList narrower = {"No Such Face", "DejaVu Sans Condensed"};
    QCOMPARE(choice(narrower, face("DejaVu Sans", 13)), QString("DejaVu Sans 13"));
    QCOMPARE(choice(narrower, face("DejaVu Sans Condensed", 11)),
             QString("DejaVu Sans Condensed 11"));
    QCOMPARE(choice({"No Such Face"}, face("DejaVu Sans", 10)), QString("DejaVu Sans 10"));
}

void MainWindowLayoutTest::metaObjectSurface_data()
{
    QTest::addColumn<const QMetaObject *>("metaObject");
    QTest::addColumn<const QMetaObject *>("baseMetaObject");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("slotSignatures");
    QTest::newRow("MainWindow") << &MainWindow::staticMetaObject << &QMainWindow::staticMetaObject
                                << "MainWindow" << signaturesOf(mainWindowSlots());
    QTest::newRow("ConfigurationFile")
        << &ConfigurationFile::staticMetaObject << &QDialog::staticMetaObject << "ConfigurationFile"
        << signaturesOf(configurationFileSlots());
}

void MainWindowLayoutTest::metaObjectSurface()
{
    QFETCH(const QMetaObject *, metaObject);
    QFETCH(const QMetaObject *, baseMetaObject);
    QFETCH(QString, className);
    QFETCH(QStringList, slotSignatures);

    QCOMPARE(QString::fromLatin1(metaObject->className()), className);
    QCOMPARE(metaObject->superClass(), baseMetaObject);
    QCOMPARE(metaObject->propertyCount(), metaObject->propertyOffset());

    QStringList ownMethods;
    for (int index = metaObject->methodOffset(); index < metaObject->methodCount(); ++index) {
        const QMetaMethod method = metaObject->method(index);
        const QString signature = QString::fromLatin1(method.methodSignature());
        QVERIFY2(method.methodType() == QMetaMethod::Slot, qPrintable(signature));
        QVERIFY2(method.access() == QMetaMethod::Private, qPrintable(signature));
        QVERIFY2(method.returnType() == QMetaType::Void, qPrintable(signature));
        ownMethods << signature;
    }
    QCOMPARE(ownMethods, slotSignatures);
}

void MainWindowLayoutTest::slotIsConnected_data()
{
    QTest::addColumn<QString>("receiverName");
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("senderName");
    QTest::addColumn<QString>("signal");
    const auto addRows = [](const QString &receiver,
                            const std::vector<SlotConnection> &connections) {
        for (const SlotConnection &connection : connections)
            QTest::newRow(qPrintable(receiver + "::" + connection.slot))
                << receiver << connection.slot << connection.sender << connection.signal;
    };
    addRows("MainWindow", mainWindowSlots());
    addRows("ConfigurationFile", configurationFileSlots());
}

// Disconnecting succeeds only where exactly this signal reaches exactly this slot, so a
// renamed widget or slot cannot unhook a handler unnoticed. The timer is connected by
// member pointer, which no QMetaMethod matches: there any slot of the window counts.
void MainWindowLayoutTest::slotIsConnected()
{
    QFETCH(QString, receiverName);
    QFETCH(QString, slot);
    QFETCH(QString, senderName);
    QFETCH(QString, signal);

    QObject *receiver = objectNamed(receiverName);
    QVERIFY(receiver);
    const int slotIndex = receiver->metaObject()->indexOfSlot(slot.toLatin1().constData());
    QVERIFY2(slotIndex >= 0, qPrintable(slot));
    QObject *sender = nullptr;
    QMetaMethod receivingSlot = receiver->metaObject()->method(slotIndex);
    if (senderName.isEmpty()) {
        const QList<QTimer *> timers =
            window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(timers.size(), 1);
        sender = timers.first();
        receivingSlot = QMetaMethod();
    } else {
        sender = receiver->findChild<QObject *>(senderName);
    }
    QVERIFY(sender);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 has no currentIndexChanged(QString): the window connects the index
    // signal to that slot itself, through a function object.
    if (signal == QLatin1String("currentIndexChanged(QString)")) {
        signal = QStringLiteral("currentIndexChanged(int)");
        receivingSlot = QMetaMethod();
    }
#endif

    const int signalIndex = sender->metaObject()->indexOfSignal(signal.toLatin1().constData());
    QVERIFY2(signalIndex >= 0, qPrintable(signal));
    QVERIFY(QObject::disconnect(sender, sender->metaObject()->method(signalIndex), receiver,
                                receivingSlot));
}

QTEST_MAIN(MainWindowLayoutTest)
#include "tst_mainwindowlayout.moc"
