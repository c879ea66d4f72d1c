#pragma once
#include <functional>
#include <string>
#include <vector>

#include "common/TextLines.h"   // Lines

#include "support/TestSupport.h"   // RunChild

using CliResult = ProgramResult;

// A copy of the built pinroute-cli in folder, so that its settings file is folder's
// pinroute.ini and never the build's own. Returns the copy's path.
std::string CopyCliInto(const std::string& folder);


// The tab-separated fields of a line.
std::vector<std::string> Fields(const std::string& line);
