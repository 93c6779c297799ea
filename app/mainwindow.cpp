// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "app/configurationfile.h"
#include "app/dialaccessible.h"
#include "app/portlistrefresh.h"
#include "app/statusline.h"
#include "app/windowfont.h"
#include "link/displayformat.h"
#include "link/factorydefaults.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QIntValidator>
#include <QTimer>

namespace {

constexpr int windowWidth = 692;
constexpr int windowHeight = 521;
constexpr int maximumFullSteps = 1000;
constexpr double maximumStepAngle = 360.0;
constexpr int stepAngleDecimals = 2;

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    // Listed while the form is built; the port list is filled from it below.
    PortListing portListing;
    installDialAccessibility();
    ui->setupUi(this);
    showDialValueIn(ui->runCurrentDial, ui->runCurrentLineEdit);
    showDialValueIn(ui->standbyCurrentDial, ui->standbyCurrentLineEdit);
    showDialValueIn(ui->delayDial, ui->delayLineEdit);
    showDialValueIn(ui->pulseFrequencyDial, ui->pulseFrequencyLineEdit);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 has no currentIndexChanged(QString), so connect-by-name leaves this
    // handler unconnected: hand it the selected item's text as Qt 5 does.
    connect(ui->microstepComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        on_microstepComboBox_currentIndexChanged(ui->microstepComboBox->itemText(index));
    });
#endif
    connectDialTurns();
    setFixedSize(windowWidth, windowHeight);
    ui->motorFullStepsLineEdit->setValidator(new QIntValidator(0, maximumFullSteps, this));
    auto *stepAngleValidator = new QDoubleValidator(0.0, maximumStepAngle, stepAngleDecimals, this);
    // The field is read and rewritten with a decimal point, whatever the
    // system's locale, so typing must use it too.
    stepAngleValidator->setLocale(QLocale::c());
    ui->motorStepAngleLineEdit->setValidator(stepAngleValidator);

    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &MainWindow::on_timerEvent);

    configurationFile = new ConfigurationFile(this);
    fitApplicationFont(this);
    keepProgramMessagesInStatusBar(this);
    bulkOperation = BulkOperation::None;
    configurationFilePath = QLatin1String("");

    watchForPortLoss();
    setConnectedState(false);
    initialiseControls(portListing.ports());
}

MainWindow::~MainWindow()
{
    // Leaving sends nothing: the module keeps the power stage as it is.
    serialPort.disconnect(this);
    if (serialPort.isOpen())
        serialPort.close();
    delete ui;
    delete configurationFile;
}

// Only a drag reports sliderMoved. The wheel, the keys and a click that makes
// the knob jump move a dial too, and each such step runs the drag's handler
// with the knob's new position. A drag's own steps are left to sliderMoved,
// and a step that does not move the knob (a key at the end) runs nothing.
void MainWindow::connectDialTurns()
{
    const auto onTurn = [this](QDial *dial, void (MainWindow::*handler)(int)) {
        connect(dial, &QAbstractSlider::actionTriggered, this, [this, dial, handler] {
            // The value follows the knob only after this signal.
            if (!dial->isSliderDown() && dial->sliderPosition() != dial->value())
                (this->*handler)(dial->sliderPosition());
        });
    };
    onTurn(ui->runCurrentDial, &MainWindow::on_runCurrentDial_sliderMoved);
    onTurn(ui->standbyCurrentDial, &MainWindow::on_standbyCurrentDial_sliderMoved);
    onTurn(ui->delayDial, &MainWindow::on_delayDial_sliderMoved);
    onTurn(ui->pulseFrequencyDial, &MainWindow::on_pulseFrequencyDial_sliderMoved);
}

void MainWindow::initialiseControls(const QList<PortDescription> &ports)
{
    ui->openButton->setEnabled(true);
    fillPortList(ports);

    // Filling the list runs the resolution handler; the entries are set after it.
    for (int microsteps : offeredResolutions)
        ui->microstepComboBox->addItem(QString::number(microsteps));
    const ParameterValues defaults = factoryDefaults();
    selectMicrostepItem(defaults[DeviceParameter::MicroStepResolution]);
    placeValues(defaults, RequestState::None);
    for (DeviceParameter parameter : allDeviceParameters)
        setFileValue(parameter, defaults[parameter]);

    ui->x100HzRadioButton->setChecked(true);
    ui->pulseFrequencyLineEdit->setText(QStringLiteral("0Hz"));
    pulseFrequency = 0;
    pulseDialPosition = 0;
    ui->pulseFrequencyDial->setValue(0);
    ui->motorFullStepsLineEdit->setText(QStringLiteral("200"));
    ui->motorStepAngleLineEdit->setText(QStringLiteral("1.8"));
    ui->rpmLineEdit->setText(QStringLiteral("0"));
}
