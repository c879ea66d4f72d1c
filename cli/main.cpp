// pinroute-cli: the terminal front end over the core.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/HelpText.h"
#include "common/ModulePath.h"
#include "settings/SettingsLocation.h"
#include "common/VersionInfo.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, line, error)) {
        ReportError(error + " (see pinroute-cli --help)");
        return kCantStart;
    }
    if (line.version) {
        std::printf("pinroute-cli %s\n", ProgramVersion().c_str());
        return kAllDone;
    }
    if (line.help) {
        std::fputs(HelpText(line).c_str(), stdout);
        return kAllDone;
    }
    const std::string settingsPath = SettingsFilePath();
    if (settingsPath.empty())
        return kCantStart;   // the reason is already shown
    if (line.settings)
        return RunSettings(line, settingsPath);
    if (line.command == Command::Undo)
        return RunUndo(line, settingsPath);
    return RunPhotos(line, settingsPath);
}
