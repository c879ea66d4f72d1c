#include "settings/SetupDialog.h"
// Placeholder until the Set-up dialog lands.
bool RunSetupDialog(QWidget*) { return false; }
