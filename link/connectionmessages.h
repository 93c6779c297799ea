// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the user is told about the port itself, in the window and on the
// command line alike.
inline constexpr char portNotOpenedMessage[] = "Could not open COM port!";
inline constexpr char connectionLostMessage[] = "Error: connection to VELD-7316 lost. Port closed.";
