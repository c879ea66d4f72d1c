#include "geotag/WrittenPositions.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>

#include <unistd.h>

#include "common/PathText.h"

std::string AbsolutePhotoPath(const std::string& path)
{
    // The folder resolved, the name as it is: a photo renamed or deleted since still compares.
    char resolved[PATH_MAX];
    if (realpath(FolderOf(path).c_str(), resolved))
        return std::string(resolved) + (resolved[1] == '\0' ? "" : "/") + FileNameOf(path);
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[PATH_MAX];
    return getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + path : path;
}

WrittenPositions::WrittenPositions(std::vector<JournalRun> runs)
{
    std::sort(runs.begin(), runs.end(), [](const JournalRun& a, const JournalRun& b) {
        return a.startedNanos != b.startedNanos ? a.startedNanos < b.startedNanos : a.time < b.time;
    });
    // Whether each photo was marked just before each run changed it: what an undo of that
    // run gives back. By run id, then photo.
    std::map<std::string, std::map<std::string, bool>> before;
    for (const JournalRun& run : runs) {
        const bool undo = run.command.compare(0, 5, "undo ") == 0;
        const auto undone = undo ? before.find(run.command.substr(5)) : before.end();
        auto& marks = before[run.id];
        for (const JournalEntry& e : run.photos) {
            const std::string photo = AbsolutePhotoPath(e.photo);
            if (!e.oldPath.empty()) {   // a rename carries the mark
                if (photos.erase(AbsolutePhotoPath(e.oldPath)) > 0)
                    photos.insert(photo);
                continue;
            }
            const bool marked = photos.count(photo) > 0;
            marks.emplace(photo, marked);
            bool now = run.command == "geotag" || run.command == "place";
            if (undo && undone != before.end()) {
                const auto was = undone->second.find(photo);
                now = was != undone->second.end() && was->second;
            }
            if (now)
                photos.insert(photo);
            else
                photos.erase(photo);
        }
    }
}

bool WrittenPositions::Contains(const std::string& photoPath) const
{
    return photos.count(AbsolutePhotoPath(photoPath)) > 0;
}
