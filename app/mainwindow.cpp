#include "app/mainwindow.h"

#include "app/displayformat.h"
#include "app/portlistrefresh.h"
#include "app/windowfont.h"
#include "config/configurationfile.h"
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
    ui->setupUi(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 has no currentIndexChanged(QString), so connect-by-name leaves this
    // handler unconnected: hand it the selected item's text as Qt 5 does.
    connect(ui->microstepComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        on_microstepComboBox_currentIndexChanged(ui->microstepComboBox->itemText(index));
    });
#endif
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
