#pragma once

class RunControl;

// From now on SIGINT and SIGTERM ask control to stop the run after the photos in flight,
// and a closed output pipe gives write errors instead of ending the program. A second
// SIGINT or SIGTERM ends the program at once (the photos stay whole; the working folder
// may be left behind).
void StopOnSignals(RunControl& control);

// From now on a signal is only recorded: the control may go. Call before it is destroyed.
void ForgetRunControl();

// The first SIGINT or SIGTERM received since StopOnSignals, or 0.
int CaughtSignal();
