// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// Everything the program knows about the module's seven parameters, in one
// place. Changing a parameter means changing its row; the reader's ranges and
// messages, the frames, the defaults and the microstep list follow from here.

// The module's device parameters, numbered as on the wire.
enum class DeviceParameter {
    RunCurrent = 6,
    StandbyCurrent = 7,
    MicroStepResolution = 140,
    MicroStepMultiplier = 160,
    MicroStepDoubleEdge = 161,
    HalfCurrentRange = 179,
    StandbyCurrentDelay = 214,
};

// What a value means, which decides how it is sent, read back and checked.
// Values travel through the program as ints: booleans as 0 and 1, the
// resolution as microsteps per full step.
enum class ParameterKind {
    Current,    // current scale steps 0..highest; a higher reply byte is "invalid"
    Delay,      // steps of 100 ms; every reply byte is a delay
    Resolution, // microsteps per full step, sent as a microstep code
    Boolean,    // FALSE or TRUE, sent as 0 or 1
};

struct ParameterFacts
{
    DeviceParameter parameter; // its number on the wire
    // The module's vocabulary: in messages, and the configuration file's key.
    std::string_view name;
    ParameterKind kind;
    int highestValue;   // as the program holds it; the lowest is 0 (8 for the resolution)
    int factoryDefault; // also what the window shows at start-up
};

// The module's microstep codes. Code 6 (4 microsteps) is only ever written:
// no control, file entry or reply gives 4, and a code of 6 is not read back.
struct MicrostepCode
{
    int code;
    int microsteps;
    bool writeOnly;
};

constexpr std::array<MicrostepCode, 7> microstepCodes = {{
    {0, 256, false},
    {1, 128, false},
    {2, 64, false},
    {3, 32, false},
    {4, 16, false},
    {5, 8, false},
    {6, 4, true},
}};

// Microsteps per full step to the module's code; -1 when the value has none.
constexpr int microstepCode(int microsteps)
{
    for (const MicrostepCode &entry : microstepCodes) {
        if (entry.microsteps == microsteps)
            return entry.code;
    }
    return -1;
}

// A code read back from the module to microsteps per full step; -1 for a
// code that is never read back.
constexpr int microstepsFromCode(int code)
{
    for (const MicrostepCode &entry : microstepCodes) {
        if (entry.code == code && !entry.writeOnly)
            return entry.microsteps;
    }
    return -1;
}

namespace parametertable_detail {

constexpr std::size_t offeredResolutionCount()
{
    std::size_t count = 0;
    for (const MicrostepCode &entry : microstepCodes)
        count += entry.writeOnly ? 0 : 1;
    return count;
}

} // namespace parametertable_detail

// The resolutions the list, the configuration file and replies offer, smallest first.
constexpr std::array<int, parametertable_detail::offeredResolutionCount()> offeredResolutions = [] {
    std::array<int, parametertable_detail::offeredResolutionCount()> resolutions{};
    std::size_t count = 0;
    for (const MicrostepCode &entry : microstepCodes) {
        if (entry.writeOnly)
            continue;
        std::size_t place = count++;
        for (; place > 0 && resolutions[place - 1] > entry.microsteps; --place)
            resolutions[place] = resolutions[place - 1];
        resolutions[place] = entry.microsteps;
    }
    return resolutions;
}();

// The multiplier works only at this resolution.
constexpr int multiplierResolution = 16;

// The rows are in the order the exchange cycle writes them.
constexpr std::array<ParameterFacts, 7> parameterTable = {{
    {DeviceParameter::RunCurrent, "RunCurrent", ParameterKind::Current, 31, 24},
    {DeviceParameter::StandbyCurrent, "StandbyCurrent", ParameterKind::Current, 31, 24},
    {DeviceParameter::MicroStepResolution, "MicroStepResolution", ParameterKind::Resolution,
     offeredResolutions.back(), 16},
    {DeviceParameter::MicroStepMultiplier, "MicroStepMultiplier", ParameterKind::Boolean, 1, 1},
    {DeviceParameter::MicroStepDoubleEdge, "MicroStepDoubleEdge", ParameterKind::Boolean, 1, 0},
    {DeviceParameter::HalfCurrentRange, "HalfCurrentRange", ParameterKind::Boolean, 1, 0},
    {DeviceParameter::StandbyCurrentDelay, "StandbyCurrentDelay", ParameterKind::Delay, 255, 0},
}};

using ParameterOrder = std::array<DeviceParameter, parameterTable.size()>;

// The seven parameters in the table's order, which is also the write order.
constexpr ParameterOrder allDeviceParameters = [] {
    ParameterOrder parameters{};
    for (std::size_t index = 0; index < parameterTable.size(); ++index)
        parameters[index] = parameterTable[index].parameter;
    return parameters;
}();

// HalfCurrentRange is read first, so the currents read after it are shown on
// the right scale. Verify reports in the same order.
constexpr ParameterOrder readOrder = {
    DeviceParameter::HalfCurrentRange,    DeviceParameter::RunCurrent,
    DeviceParameter::StandbyCurrent,      DeviceParameter::StandbyCurrentDelay,
    DeviceParameter::MicroStepResolution, DeviceParameter::MicroStepMultiplier,
    DeviceParameter::MicroStepDoubleEdge,
};

// The order in which a configuration file lists the parameters.
constexpr ParameterOrder configurationFileOrder = {
    DeviceParameter::MicroStepResolution, DeviceParameter::MicroStepMultiplier,
    DeviceParameter::MicroStepDoubleEdge, DeviceParameter::HalfCurrentRange,
    DeviceParameter::RunCurrent,          DeviceParameter::StandbyCurrent,
    DeviceParameter::StandbyCurrentDelay,
};

// The parameter's row. Every DeviceParameter has one.
constexpr std::size_t parameterIndex(DeviceParameter parameter)
{
    std::size_t index = 0;
    while (index + 1 < parameterTable.size() && parameterTable[index].parameter != parameter)
        ++index;
    return index;
}

constexpr const ParameterFacts &parameterFacts(DeviceParameter parameter)
{
    return parameterTable[parameterIndex(parameter)];
}

constexpr int parameterNumber(DeviceParameter parameter)
{
    return static_cast<int>(parameter);
}

constexpr bool isDeviceParameterNumber(int number)
{
    for (const ParameterFacts &facts : parameterTable) {
        if (parameterNumber(facts.parameter) == number)
            return true;
    }
    return false;
}

constexpr ParameterKind parameterKind(DeviceParameter parameter)
{
    return parameterFacts(parameter).kind;
}

constexpr bool isBooleanParameter(DeviceParameter parameter)
{
    return parameterKind(parameter) == ParameterKind::Boolean;
}

constexpr bool isCurrentParameter(DeviceParameter parameter)
{
    return parameterKind(parameter) == ParameterKind::Current;
}

constexpr int highestValue(DeviceParameter parameter)
{
    return parameterFacts(parameter).highestValue;
}

constexpr int factoryDefault(DeviceParameter parameter)
{
    return parameterFacts(parameter).factoryDefault;
}

// A row edited wrongly stops the build instead of reaching the module.
namespace parametertable_detail {

constexpr bool isPermutationOfTable(const ParameterOrder &order)
{
    for (const ParameterFacts &facts : parameterTable) {
        int seen = 0;
        for (DeviceParameter parameter : order)
            seen += parameter == facts.parameter ? 1 : 0;
        if (seen != 1)
            return false;
    }
    return true;
}

constexpr bool codesAreDistinct()
{
    for (std::size_t i = 0; i < microstepCodes.size(); ++i) {
        for (std::size_t j = i + 1; j < microstepCodes.size(); ++j) {
            if (microstepCodes[i].code == microstepCodes[j].code ||
                microstepCodes[i].microsteps == microstepCodes[j].microsteps)
                return false;
        }
    }
    return true;
}

constexpr bool isOfferedResolution(int microsteps)
{
    for (int resolution : offeredResolutions) {
        if (resolution == microsteps)
            return true;
    }
    return false;
}

constexpr bool holds(const ParameterFacts &facts, int value)
{
    if (facts.kind == ParameterKind::Resolution)
        return isOfferedResolution(value);
    return value >= 0 && value <= facts.highestValue;
}

constexpr bool defaultsAreValid()
{
    for (const ParameterFacts &facts : parameterTable) {
        if (!holds(facts, facts.factoryDefault))
            return false;
    }
    return true;
}

// A reply carries one byte of value.
constexpr bool rangesFitAByte()
{
    for (const ParameterFacts &facts : parameterTable) {
        if (facts.kind != ParameterKind::Resolution && facts.highestValue > 255)
            return false;
    }
    return true;
}

} // namespace parametertable_detail

static_assert(parametertable_detail::isPermutationOfTable(allDeviceParameters),
              "no parameter has two rows");
static_assert(parametertable_detail::isPermutationOfTable(readOrder),
              "the read order names every parameter once");
static_assert(parametertable_detail::isPermutationOfTable(configurationFileOrder),
              "the configuration file names every parameter once");
static_assert(parametertable_detail::codesAreDistinct(),
              "each microstep code and resolution appears once");
static_assert(parametertable_detail::isOfferedResolution(multiplierResolution),
              "the multiplier's resolution is one the list offers");
static_assert(parametertable_detail::defaultsAreValid(), "factory defaults lie in range");
static_assert(parametertable_detail::rangesFitAByte(), "a reply byte holds every value");
