#pragma once
#include <string>

#include <sys/stat.h>

// The settings file on disk: read whole, and replaced whole through a flushed temporary
// file renamed over it, so that it holds the old or the new content, never a part.

// The whole file into text. A missing file is no failure: exists turns false and text
// stays empty. Anything that is not a regular file, or can't be read, is a failure.
bool ReadWholeFile(const std::string& path, std::string& text, bool& exists, struct stat& info,
                   std::string& reason);

void SplitPath(const std::string& path, std::string& folder, std::string& name);

// Removes what saves of folder/name that were killed left behind (their temporary files,
// when their process is gone and the file is this user's); nothing else.
void RemoveStaleSaves(const std::string& folder, const std::string& name);

// Writes text to a temporary file beside path, flushes it, gives it mode (and old's owner,
// where it may) and renames it over path; then flushes the folder.
bool ReplaceFile(const std::string& path, const std::string& text, mode_t mode, const struct stat* old,
                 std::string& reason);

// A settings file reached through a symbolic link is written where the link points.
std::string WriteTarget(const std::string& path);

// The mode of a new file under the process's umask.
mode_t NewFileMode();
