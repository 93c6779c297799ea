#pragma once

#include "link/frame.h"
#include "link/linksnapshot.h"
#include "link/requesttable.h"

#include <QString>

#include <optional>

// What the module's reply means for the request it answers. The reply is
// taken as the answer to the frame sent last.

extern const char noCommunicationMessage[];
extern const char pulseGeneratorUnconfirmedMessage[];

struct AnsweredRequest
{
    enum class Kind { Read, Write, PowerStage, PulseGenerator, Unknown };

    Kind kind = Kind::Unknown;
    DeviceParameter parameter = DeviceParameter::RunCurrent; // for Read and Write
};

// Tells from the command and type of the frame sent last what was asked.
AnsweredRequest answeredRequest(int command, int type);

enum class StatusColour { Green, Red };

struct StatusReport
{
    QString message;
    StatusColour colour = StatusColour::Red;
};

// What the status bar says about a confirmed power stage.
StatusReport powerStageReport(bool off);

struct ReadReplyOutcome
{
    enum class Kind {
        Failed,     // no good reply: the read stays pending and is sent again
        Superseded, // changed by the user meanwhile: that change is written instead
        Accepted,   // the module's value is stored and shown
        Rejected,   // not a value the entry can hold: the read ends, the value stays
    };

    Kind kind = Kind::Failed;
    int value = 0;            // Accepted: as the program holds it
    bool showInvalid = false; // the entry's text reads "invalid" and its dial goes to 0
    QString report;           // empty: nothing is reported

    bool endsRequest() const { return kind == Kind::Accepted || kind == Kind::Rejected; }
};

// requestNow and cachedValue are the entry's as the reply arrives.
ReadReplyOutcome readReplyOutcome(DeviceParameter parameter, const Reply &reply,
                                  RequestState requestNow, int cachedValue);

struct WriteReplyOutcome
{
    bool confirmed = false;
    // What the entry's request becomes. Empty when the entry changed while
    // its frame was in flight: the newer request stands.
    std::optional<RequestState> request;
    QString report; // empty: nothing is reported
    // A Program names its unconfirmed writes once, when it ends.
    bool unconfirmedInProgram = false;
};

// sentValue is the frame's wire value.
WriteReplyOutcome writeReplyOutcome(DeviceParameter parameter, const Reply &reply,
                                    RequestState requestNow, int cachedValue, int sentValue,
                                    bool programUnderWay);

struct PowerStageReplyOutcome
{
    StatusReport status;
    bool endsRequest = false;
};

// sentOff is what the frame asked for, wantedOff what the window wants now.
// settingsWaiting: parameter writes are held up behind the switch.
PowerStageReplyOutcome powerStageReplyOutcome(const Reply &reply, bool sentOff, bool wantedOff,
                                              bool settingsWaiting);

struct PulseGeneratorReplyOutcome
{
    int pulseSent = unknownPulse; // what the module is known to run now
    std::optional<StatusReport> status;
};

// errorShown: the status bar still says an earlier frame was unconfirmed.
// Once the module confirms, it says what the power stage is again, when
// that is known.
PulseGeneratorReplyOutcome pulseGeneratorReplyOutcome(const Reply &reply, int sentValue,
                                                      bool errorShown, bool powerStageOff,
                                                      bool powerStageConfirmed);
