#pragma once
#include <string>
#include <vector>

#include "journal/Journal.h"
#include "run/Command.h"
#include "settings/Settings.h"

class PhotoRows;
class RunControl;
class RunFeedback;
class Workspace;

// The photos of a run, one row each, in its order: what Undo's rows must hold.
std::vector<std::string> UndoPaths(const JournalRun& run);

// The row of paths (a list's photos) that holds each photo of run, in the run's order: the
// row of the same file, else a row added at the end of paths for it.
std::vector<int> UndoRowsIn(const JournalRun& run, std::vector<std::string>& paths);

// Puts back what a journalled run changed: each photo's tags as they were, through the same
// verified write as every change, and each renamed photo's old name (never replacing a
// file). A photo changed since the run (by another program or a later run) is left alone
// with "changed since the run", unless force. A photo already as it was (an undo that was
// stopped and is run again) counts as restored. The undo is journalled as "undo ID".
RunResult Undo(const JournalRun& run, bool force, const Settings& settings, const std::string& version,
               PhotoRows& rows, RunFeedback& feedback, Workspace& workspace, RunControl& control);
