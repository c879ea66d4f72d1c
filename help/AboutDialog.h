#pragma once
class QWidget;

// Shows the About box modally.
void RunAboutDialog(QWidget* parent);
