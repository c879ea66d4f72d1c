#pragma once
#include <string>
#include <vector>

// The names of the entries of folder ("" for the current directory) that fit pattern, whose
// only wildcards are * and ? and which ignores letter case. Entries of any kind, never "."
// or ".."; sorted by name ignoring case. Empty when the folder can't be read.
std::vector<std::string> MatchingNames(const std::string& folder, const std::string& pattern);
