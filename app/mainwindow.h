// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/parameterentry.h"
#include "link/linksession.h"
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
    void sendFrame(const Frame &frame);
    void showReplyEffects(const ReplyEffects &effects);
    void report(const QString &message);
    void showStatus(const StatusReport &status);

    // The request table's entries by parameter
    template <typename T> ParameterEntry<T> entryOf(DeviceParameter parameter)
    {
        LinkState &link = session.link();
        return {link.values[parameter], T{}, link.requests[parameter]};
    }
    template <typename Window, typename Visit>
    static decltype(auto) visitEntry(Window &window, DeviceParameter parameter, Visit visit);
    void setFileValue(DeviceParameter parameter, int value);
    ParameterValues fileValues() const;
    void writeValues(const SettingsWrites &writes);

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
    void endFileSequence();
    void appendLog(const QString &line);

    MessageTarget messageTarget = MessageTarget::StatusBar;
    Ui::MainWindow *ui;
    QTimer *timer = nullptr;
    // The request table, the exchange with the module and what it is known
    // to hold.
    LinkSession session;
    // The request table by the names the handlers use. Values, requests and
    // the power stage and pulse generator wishes are the session's, reached
    // through these references: one copy, which the link's rules act on.
    ParameterEntry<int> microStepResolution = entryOf<int>(DeviceParameter::MicroStepResolution);
    ParameterEntry<bool> microStepDoubleEdge = entryOf<bool>(DeviceParameter::MicroStepDoubleEdge);
    ParameterEntry<bool> microStepMultiplier = entryOf<bool>(DeviceParameter::MicroStepMultiplier);
    ParameterEntry<bool> halfCurrentRange = entryOf<bool>(DeviceParameter::HalfCurrentRange);
    ParameterEntry<int> runCurrent = entryOf<int>(DeviceParameter::RunCurrent);
    ParameterEntry<int> standbyCurrent = entryOf<int>(DeviceParameter::StandbyCurrent);
    ParameterEntry<int> standbyCurrentDelay = entryOf<int>(DeviceParameter::StandbyCurrentDelay);
    std::optional<int> &pulseWanted = session.link().pulseWanted;
    bool &powerStageOff = session.link().powerStageOff;
    RequestState &powerStageRequest = session.link().powerStageRequest;
    int pulseFrequency = 0;
    int pulseDialPosition = 0;
    Frame txFrame{};
    QSerialPort serialPort;
    ConfigurationFile *configurationFile = nullptr;
    MotionState motionState = MotionState::DriverOff;
    BulkOperation bulkOperation = BulkOperation::None;
    QString configurationFilePath;

    // Set from the first sign that the module's port is gone until it is closed.
    bool portLossPending = false;
};
