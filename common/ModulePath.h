#pragma once
#include <string>

// The path of a file beside the executable with its base name and the given extension
// (".ini", ".qhc"): build/pinroute gives build/pinroute.ini. Returns false and an empty
// path when the executable's own path can't be read; reportFailure then shows the error.
bool ModuleFilePath(const std::string& extension, bool reportFailure, std::string& path);

// Tests point the program at another executable path ("" returns to /proc/self/exe).
void SetExecutablePathForTesting(const std::string& path);

// A box with "text systemText" (one blank between); no icon, default caption.
void ShowSystemError(const std::string& text, int errorCode);

// strerror-style text for an errno value, at most room - 1 characters; "" for 0.
std::string SystemErrorText(int errorCode, size_t room);
