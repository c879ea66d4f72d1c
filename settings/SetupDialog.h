#pragma once
class QWidget;

// Runs the Set-up dialog modally; true when it was closed through Save.
bool RunSetupDialog(QWidget* parent);
