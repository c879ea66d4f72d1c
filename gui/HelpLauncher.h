#pragma once
#include <string>

// Opens the help file beside the executable (its base name with ".qhc", a Qt help
// collection) at a page, in a maximised help viewer. Failures end in a message box.
class HelpLauncher {
public:
    virtual ~HelpLauncher() = default;
    void ShowTopic(const std::string& page);   // page: a file of the manual, "pinroute.html"
};

// Shown when opening the help failed unexpectedly: French for a French locale.
std::string HelpFallbackText();

// After the help file could not be set up once, later calls fail at once with the same
// message; tests start afresh with this.
void ResetHelpEngineForTesting();
// Makes ShowTopic fail unexpectedly (it throws inside), so tests can see the fall-back.
void SetHelpFaultForTesting(bool fault);

// Where the manual's pages live inside the help file.
extern const char kHelpNamespace[];       // "org.pinroute.manual"
extern const char kHelpVirtualFolder[];   // "manual"
