#pragma once
#include <functional>
#include <string>
#include <vector>

#include "common/TextLines.h"   // Lines

// What a finished child printed and how it ended.
struct CliResult {
    int status = -1;    // exit status, or 128 + signal number when a signal ended it
    std::string out;    // standard output
    std::string err;    // standard error
};

// Runs program with args as a child (no shell), stdin from /dev/null, stdout and stderr
// captured apart. env holds "NAME=value" entries that are added to (or replace in) this
// process's environment; cwd, when not empty, is the child's working directory. When onOutput is given it sees stdout as it grows and gets the
// child's pid, so a test can signal the child in the middle of its work.
CliResult RunChild(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env = {}, const std::string& cwd = "",
                   const std::function<void(const std::string& out, int pid)>& onOutput = {});

// A copy of the built pinroute-cli in folder, so that its settings file is folder's
// pinroute.ini and never the build's own. Returns the copy's path.
std::string CopyCliInto(const std::string& folder);


// The tab-separated fields of a line.
std::vector<std::string> Fields(const std::string& line);
