#pragma once
#include <string>

// The running program's full path, read from /proc/self/exe. False, with errno's value in
// error, when it can't be read.
bool ExecutablePath(std::string& path, int& error);

// The file beside executable with its base name and the given extension (".ini", ".qhc"):
// "build/pinroute" gives "build/pinroute.ini". Only the last component's extension goes.
std::string PathBeside(const std::string& executable, const std::string& extension);

// PathBeside for the running program. Returns false and an empty path when the program's
// own path can't be read; reportFailure then shows the error.
bool ModuleFilePath(const std::string& extension, bool reportFailure, std::string& path);

// The help collection of a program at executable: beside it (base name + ".qhc") in a
// build folder, else ../share/pinroute/pinroute.qhc of an install tree. When neither exists
// the path beside it is returned, so that a failure names a place to look.
std::string HelpFilePath(const std::string& executable);

// The same for the running program; "" when its path can't be read.
std::string HelpFilePath();

// A box with "text systemText" (one blank between); no icon, default caption.
void ShowSystemError(const std::string& text, int errorCode);

// strerror-style text for an errno value, at most room - 1 characters; "" for 0.
std::string SystemErrorText(int errorCode, size_t room);
