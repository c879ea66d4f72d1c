#include "exif/ToolUpdate.h"

#include <sstream>

#include "common/PathText.h"
#include "exif/ChildProcess.h"
#include "exif/SafeWrite.h"

namespace {

// The first message of the tool that means the file can't take the commands without a
// loss, as a reason; "". Errors count: exiv2 prints them when it can't read part of the
// original (and what it can't read, it drops when it rewrites) or refuses the write. A
// warning about the original ("unexpected next pointer; ignored") never counts, but for
// a tag the tool says it can't write back.
std::string MessageFault(const std::string& messages)
{
    std::istringstream lines(messages);
    std::string line;
    while (std::getline(lines, line)) {
        size_t tag = line.find("Exif tag ");
        size_t lost = line.find(" not encoded");
        if (tag != std::string::npos && lost != std::string::npos && lost > tag + 9)
            return "a tag would be lost: " + line.substr(tag + 9, lost - tag - 9);
        if (line.compare(0, 8, "Warning:") == 0)
            continue;
        if (line.find("Error") != std::string::npos || line.find("rror:") != std::string::npos
            || line.find("exception") != std::string::npos)
            return line;
    }
    return {};
}

}  // namespace

UpdateResult RunUpdate(const WorkerFiles& files, const std::vector<std::string>& workPaths, std::string& reason)
{
    CapturedRun tool;
    tool.plainLocale = true;   // the messages are read below
    std::vector<std::string> argv = {kExifProgram, "-k", "-m", files.command, "--"};
    argv.insert(argv.end(), workPaths.begin(), workPaths.end());
    int error = tool.Run(argv);
    std::string ignored;
    WritePrivateFile(files.log, tool.text, ignored);
    if (error != 0) {
        reason = std::string(kExifProgram) + ": " + SystemReason(error);
        return UpdateResult::Failed;
    }
    if (!tool.exited) {
        reason = std::string(kExifProgram) + " was stopped by signal " + std::to_string(tool.termSignal);
        return UpdateResult::Failed;
    }
    reason = MessageFault(tool.text);
    if (reason.empty() && !tool.Succeeded()) {
        reason = tool.text.substr(0, tool.text.find('\n'));
        if (reason.empty())
            reason = std::string(kExifProgram) + " failed";
    }
    return reason.empty() ? UpdateResult::Done : UpdateResult::Refused;
}

