#pragma once
class QWidget;

// SIGTERM, SIGINT and SIGHUP close the window as its Close button does: a run stops after
// the photos in flight, and the working folder goes with the window. Call once, with the
// window that ends the program.
void CloseOnTerminationSignals(QWidget* window);
