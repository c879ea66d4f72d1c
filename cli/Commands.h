#pragma once
#include <string>

#include "cli/CommandLine.h"

// Exit statuses.
constexpr int kAllDone = 0;      // every photo got the outcome the command aims at
constexpr int kSomeMissed = 1;   // some photos did not
constexpr int kCantStart = 2;    // a usage error, or a run that could not start

// Runs geotag, parse or rename; returns the exit status. Errors go to standard error as
// one line each.
int RunPhotos(const CommandLine& line, const std::string& settingsPath);

// The undo command: lists the journalled runs, or undoes one (the last by default).
int RunUndo(const CommandLine& line, const std::string& settingsPath);

// The settings command; returns the exit status.
int RunSettings(const CommandLine& line, const std::string& settingsPath);

// Prints "pinroute-cli: text" on standard error.
void ReportError(const std::string& text);
