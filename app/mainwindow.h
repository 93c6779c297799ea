#pragma once

#include "app/parameterentry.h"
#include "link/frame.h"
#include "link/latereply.h"
#include "link/linkstate.h"
#include "link/motion.h"
#include "link/parameters.h"
#include "link/settingsrules.h"

#include <QMainWindow>
#include <QSerialPort>
#include <QString>
#include <QStringList>

class ConfigurationFile;
class QTimer;
struct PortDescription;
struct ReplyEffects;
struct StatusReport;

namespace Ui {
class MainWindow;
}

// The one window of the programmer. It holds the whole state of a run: the
// serial port, the timer that paces the exchange with the module, the request
// table and the configuration file dialog. Its operations live in files by
// concern (app/, link/, config/).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    enum class MessageTarget { StatusBar = 1, FileDialogLog = 2 };
    enum class ExchangeState { Idle = -1, Ready = 0, AwaitingReply = 1 };
    enum class BulkOperation { None = 0, ReadForFile = 1, ProgramFromFile = 2 };
    using MotionState = ::MotionState;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // What the configuration file dialog calls.
    void setConfigurationFilePath(const QString &path);
    bool readConfigurationFile();
    bool writeConfigurationFile();
    void startReadForFile();
    void verifyAgainstFile();
    void startProgramFromFile();

private slots:
    void on_openButton_clicked();
    void on_closeButton_clicked();
    void on_microstepComboBox_currentIndexChanged(const QString &arg1);
    void on_x16CheckBox_clicked(bool checked);
    void on_doubleEdgeCheckBox_clicked(bool checked);
    void on_runCurrentDial_sliderMoved(int position);
    void on_delayDial_sliderMoved(int position);
    void on_standbyCurrentDial_sliderMoved(int position);
    // "herzRadioButton" is the form's object name, misspelt on purpose: the slot
    // is connected by that name, and renaming either unhooks it.
    void on_herzRadioButton_clicked();
    void on_x100HzRadioButton_clicked();
    void on_pulseFrequencyDial_sliderMoved(int position);
    void on_timerEvent();
    void on_standbyCurrentGroupBox_clicked(bool checked);
    void on_rotateLeftButton_clicked();
    void on_rotateRightButton_clicked();
    void on_stopButton_clicked();
    void on_actionConfiguration_File_triggered();
    void on_actionReset_to_Factory_Defaults_triggered();
    void on_motorStepAngleLineEdit_textChanged(const QString &arg1);
    void on_motorFullStepsLineEdit_textChanged(const QString &arg1);

private:
    // Lifecycle
    void initialiseControls(const QList<PortDescription> &ports);
    void connectDialTurns();

    // Port connection
    void fillPortList(const QList<PortDescription> &ports);
    bool openPort(const QString &name);
    void closePort();
    void setConnectedState(bool connected);
    void watchForPortLoss();
    void handlePortLoss();

    // Exchange cycle and replies
    void sendFrame(int command, int type, int motor, int value);
    bool lateReplyWaitOver();
    void handleReply();
    QByteArray receiveReply();
    void showReplyEffects(const ReplyEffects &effects);
    void report(const QString &message);
    void showStatus(const StatusReport &status);

    // Request table access by parameter, and as plain values
    template <typename Window, typename Visit>
    static decltype(auto) visitEntry(Window &window, DeviceParameter parameter, Visit visit);
    RequestState &requestOf(DeviceParameter parameter);
    RequestState requestOf(DeviceParameter parameter) const;
    int cachedValue(DeviceParameter parameter) const;
    void storeValue(DeviceParameter parameter, int value);
    void setFileValue(DeviceParameter parameter, int value);
    int fileValueOf(DeviceParameter parameter) const;
    ParameterValues fileValues() const;
    void writeValues(const SettingsWrites &writes);
    void requestAll(RequestState request);
    LinkState linkState() const;
    void takeLinkState(const LinkState &link);

    // Values to controls
    void showValue(DeviceParameter parameter);
    void placeValues(const ParameterValues &values, RequestState request);
    void showInvalid(DeviceParameter parameter);
    void syncStandbyGroupBox();

    // Settings panel
    QString formatCurrent(int value) const;
    QString formatDelay(int value) const;
    int runCurrentDialPosition() const;
    QString formatFrequency() const;
    QString formatMotorSpeed() const;
    QString motorSpeedFor(double fullSteps) const;
    void selectMicrostepItem(int microsteps);
    void writeMicrostepSettings(const SettingsWrites &writes);
    void enableStandbyControls(bool enabled);
    void setRotateButtonHeld(bool left, bool held);
    void applyMotion(MotionEvent event);
    void switchPowerStage(bool off);

    // File sequences
    void runReadCompletionHook();
    void runWriteCompletionHook();
    void endInterruptedProgram();
    void appendLog(const QString &line);

    MessageTarget messageTarget = MessageTarget::StatusBar;
    Ui::MainWindow *ui;
    QTimer *timer = nullptr;
    ParameterEntry<int> microStepResolution;
    ParameterEntry<bool> microStepDoubleEdge;
    ParameterEntry<bool> microStepMultiplier;
    ParameterEntry<bool> halfCurrentRange;
    ParameterEntry<int> runCurrent;
    ParameterEntry<int> standbyCurrent;
    ParameterEntry<int> standbyCurrentDelay;
    int pulseFrequency = 0;
    int pulseDialPosition = 0;
    // Empty while unknown: see LinkState.
    std::optional<int> pulseSent = 0;
    std::optional<int> pulseWanted = 0;
    // Off and nothing pending until a real port opens and switches it off.
    bool powerStageOff = true;
    RequestState powerStageRequest = RequestState::None;
    Frame txFrame{};
    Frame rxFrame{};
    int lastCommand = 0;
    int lastType = 0;
    ExchangeState exchangeState = ExchangeState::Idle;
    QSerialPort serialPort;
    ConfigurationFile *configurationFile = nullptr;
    MotionState motionState = MotionState::DriverOff;
    BulkOperation bulkOperation = BulkOperation::None;
    QString configurationFilePath;

    // Value of the frame sent last: what a confirmation confirms, and whether
    // an entry changed again while its frame was in flight.
    int lastValue = 0;
    // What the module holds as far as it told, by parameter (see LinkState).
    PerParameter<std::optional<int>> moduleHolds;
    bool pulseErrorShown = false;
    LateReplyWait lateReply;
    // Parameters whose writes the module did not confirm since a Program began.
    QStringList unconfirmedWrites;
    // Set from the first sign that the module's port is gone until it is closed.
    bool portLossPending = false;
};
