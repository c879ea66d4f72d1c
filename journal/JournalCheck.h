#pragma once
#include <string>

#include "journal/Journal.h"

// Checks every value of a run read back from its file named id before anything uses it:
// its tag names (Family.Group.Tag of letters, digits and "_"), its paths (no NUL; a rename's
// old name in the photo's folder), the old values' tags among those the run named. false
// with the first fault. The old values themselves come from photos: RestoreCommand refuses
// those that a command file can't hold.
bool CheckJournalRun(const JournalRun& run, const std::string& id, std::string& reason);

// A run's id is a file name of letters, digits and "-" alone.
bool IsRunId(const std::string& id);

// text as a reason may show it: at most 80 bytes, control characters as "?".
std::string ShownText(const std::string& text);
