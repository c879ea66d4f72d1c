#pragma once
#include <functional>
#include <string>
#include <vector>

// What killed runs left behind: the names in folder that pidOf takes for ours (it gives the
// process id in the name, or 0 for any other name), of the kind asked for (regular files,
// or folders), owned by this user, whose process no longer runs. Links are never followed;
// a process that still runs, or another user's, keeps its entries.
std::vector<std::string> LeftoversOfDeadRuns(const std::string& folder,
                                             const std::function<long(const std::string& name)>& pidOf,
                                             bool folders);
