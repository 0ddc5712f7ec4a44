#pragma once
// The system colour scheme the painting code resolves system colours against: the classic
// desktop scheme, fixed, so that painted pixels are the same on every machine.
#include "platform/Graphics.h"

// The colour of system colour Index (the low byte of a clSystemColor value); black for an
// index outside the scheme.
TColor GetSysColor(int Index);
// A plain 24-bit colour: system colours resolved, others as they are (high byte cleared).
TColor ColorToRGB(TColor Color);

class QColor;
// The Qt colour of a colour value (system colours resolved).
QColor ToQColor(TColor Color);
