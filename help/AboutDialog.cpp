#include "help/AboutDialog.h"
// Placeholder until the About box lands.
void RunAboutDialog(QWidget*) {}
