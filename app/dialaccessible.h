// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QDial;
class QLineEdit;

// A screen reader speaks a dial's value as the text the window shows for it
// (1.168A, 1.0s, 1.500kHz), not as the knob's position. Installed before the
// form is set up: giving the dials their accessible names already makes
// their accessible interfaces.
void installDialAccessibility();

// The text that shows the dial's value; screen readers hear when it changes.
void showDialValueIn(QDial *dial, QLineEdit *text);
