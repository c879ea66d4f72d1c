#pragma once
#include <string>
#include <vector>

// The journal's folder and files, trusted only when they are the user's alone: a folder and
// files that belong to the user, that no one else may write, and that are never reached
// through a link at their own names. Another user who could plant a run there could make
// undo move or rewrite the user's photos.

// $XDG_STATE_HOME/pinroute, else $HOME/.local/state/pinroute, else the same under the home
// folder the password database gives; "" when the user has none of these.
std::string JournalFolder();

// The journal folder, opened and checked on the open descriptor; make: created (0700) with
// the folders above it where missing. The descriptor, or -1 with reason; missing is then
// true when the folder is simply not there (nothing journalled yet).
int OpenJournalFolder(bool make, std::string& reason, bool* missing = nullptr);

// Reads one file of the folder opened, after the same checks on its open descriptor (a
// regular file of the user's that no one else may write). false with reason.
bool ReadJournalFile(int folder, const std::string& name, std::string& text, std::string& reason);

// Replaces one file of the folder: a temporary file written, flushed, renamed over it, and
// the folder flushed, so that after a crash it holds all of the old or all of the new.
bool WriteJournalFile(int folder, const std::string& name, const std::string& text, std::string& reason);

// The names of the folder's entries ending in suffix, not hidden ones.
std::vector<std::string> JournalFileNames(int folder, const std::string& suffix);
