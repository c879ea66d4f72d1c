#pragma once
#include <string>

#include "cli/CommandLine.h"

// The --help text: the whole program's for Command::None, else the command's own.
std::string HelpText(Command command);
