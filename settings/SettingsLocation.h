#pragma once
#include <string>

// What the settings location depends on besides the executable: $XDG_CONFIG_HOME and $HOME.
struct ConfigEnvironment {
    std::string xdgConfigHome;   // used only when it is an absolute path
    std::string home;
};

// The settings file of a program at executable. The file beside it stays in use when it
// exists, or when its folder can be written and is no install tree (a build folder, a
// portable copy); otherwise $XDG_CONFIG_HOME/pinroute/pinroute.ini (default
// ~/.config/pinroute/pinroute.ini). An install tree is a folder whose program has its
// help in ../share/pinroute/ and none beside it (~/.local/bin, /usr/bin). The terminal
// tool "X-cli" shares the file of the window program "X" beside it. With no usable config
// folder, the file beside it.
std::string SettingsFilePath(const std::string& executable, const ConfigEnvironment& environment);

// The same for the running program and its environment; "" when the program's own path
// can't be read (after the error box).
std::string SettingsFilePath();

// Makes the settings file's folder, and missing parents, private to the user (0700), when
// it is missing. False with the system's reason when it can't be made.
bool EnsureSettingsFolder(const std::string& settingsPath, std::string& reason);
