#pragma once
#include <string>

#include "cli/CommandLine.h"

// The --help text: the command's own, or the whole program's when the line names none.
std::string HelpText(const CommandLine& line);
