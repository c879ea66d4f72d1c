#pragma once
#include <string>
#include <vector>

// True when name fits pattern, whose only wildcards are * (any run) and ? (any one
// byte); every other character, "[" and "\" too, matches itself, ASCII letters in
// either case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// The names of the entries of folder ("" for the current directory) that fit pattern.
// Entries of any kind, never "." or ".."; sorted by name ignoring case. Empty when the
// folder can't be read.
std::vector<std::string> MatchingNames(const std::string& folder, const std::string& pattern);
