#pragma once

// The module's factory settings, which are also what the window shows at start-up.
namespace FactoryDefault {
constexpr bool halfCurrentRange = false;
constexpr int runCurrent = 24;
constexpr int standbyCurrent = 24;
constexpr int standbyCurrentDelay = 0;
constexpr int microStepResolution = 16;
constexpr bool microStepMultiplier = true;
constexpr bool microStepDoubleEdge = false;
} // namespace FactoryDefault
