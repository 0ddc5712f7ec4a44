#include "generation/AngleDialogState.h"

AngleDialogState AngleDialog;

void ResetAngleDialogState() { AngleDialog = AngleDialogState(); }
