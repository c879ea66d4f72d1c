#include "photos/FolderCheck.h"

#include <cerrno>
#include <cstdlib>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

#include "common/FolderListing.h"
#include "common/ModulePath.h"
#include "common/PathText.h"
#include "photos/PhotoKinds.h"

namespace {

// Deeper than any camera card or photo archive; a guard against pathological trees.
constexpr int kMaxDepth = 16;

void Collect(const std::string& folder, bool recurse, int depth, std::vector<std::string>& photos)
{
    std::vector<std::string> below;
    for (const auto& name : MatchingNames(folder, "*")) {
        const std::string path = folder + name;
        struct stat info;
        if (IsPhotoName(name))   // by name alone: a folder so named fails as its row
            photos.push_back(path);
        else if (recurse && name[0] != '.' && depth < kMaxDepth && lstat(path.c_str(), &info) == 0
                 && S_ISDIR(info.st_mode))
            below.push_back(path + "/");
    }
    for (const auto& sub : below)
        Collect(sub, recurse, depth + 1, photos);
}

}  // namespace

std::vector<std::string> PhotosIn(const std::string& folder, bool recurse)
{
    std::vector<std::string> photos;
    Collect(folder, recurse, 0, photos);
    return photos;
}

FolderCheck CheckPhotoFolder(const std::string& folder, bool recurse)
{
    FolderCheck check;
    if (folder.empty()) {
        check.problem = FolderProblem::NotSet;
        return check;
    }
    struct stat info;
    if (stat(folder.c_str(), &info) != 0) {
        check.problem = errno == ENOENT || errno == ENOTDIR ? FolderProblem::Missing : FolderProblem::Unreadable;
        check.reason = SystemErrorText(errno, 256);
        return check;
    }
    if (!S_ISDIR(info.st_mode)) {
        check.problem = FolderProblem::NotAFolder;
        return check;
    }
    if (access(folder.c_str(), R_OK | X_OK) != 0) {
        check.problem = FolderProblem::Unreadable;
        check.reason = SystemErrorText(errno, 256);
        return check;
    }
    const std::string base = folder.back() == '/' ? folder : folder + "/";
    check.photos = static_cast<int>(PhotosIn(base, recurse).size());
    if (check.photos > 0)
        return check;
    const std::vector<std::string> below = recurse ? std::vector<std::string>() : PhotosIn(base, true);
    check.problem = below.empty() ? FolderProblem::NoPhotos : FolderProblem::PhotosInSubfolders;
    check.belowPhotos = static_cast<int>(below.size());
    if (!below.empty())
        check.firstBelow = FolderOf(below.front().substr(base.size()));
    return check;
}

Text FolderCheckText(const FolderCheck& check, const std::string& folder, const Text& remedy)
{
    switch (check.problem) {
    case FolderProblem::None: return {};
    case FolderProblem::NotSet: return Text("Folder", QT_TRANSLATE_NOOP("Folder", "No photo folder is set: choose one in Set-up."));
    case FolderProblem::Missing: return Text("Folder", QT_TRANSLATE_NOOP("Folder", "The photo folder %1 doesn't exist."), {folder});
    case FolderProblem::NotAFolder: return Text("Folder", QT_TRANSLATE_NOOP("Folder", "%1 is not a folder."), {folder});
    case FolderProblem::Unreadable:
        return Text("Folder", QT_TRANSLATE_NOOP("Folder", "The photo folder %1 can't be read: %2."), {folder, check.reason});
    case FolderProblem::NoPhotos:
        return Text("Folder", QT_TRANSLATE_NOOP("Folder", "The photo folder %1 has no photos (JPEG, TIFF, PNG, WebP, HEIC or RAW)."),
                    {folder});
    case FolderProblem::PhotosInSubfolders:
        return Text("Folder", QT_TRANSLATE_NOOP("Folder", "The photo folder %1 has no photos, but its sub-folders have %2 (%3): %4."),
                    {folder, std::to_string(check.belowPhotos), check.firstBelow, remedy});
    }
    return {};
}

bool UnwritableFolder(const std::vector<std::string>& photoPaths, std::string& folder, std::string& reason)
{
    std::set<std::string> folders;
    for (const auto& path : photoPaths) {
        folders.insert(FolderOf(path));
        // A link's copy is made beside the file it leads to.
        if (char* real = realpath(path.c_str(), nullptr)) {
            folders.insert(FolderOf(real));
            std::free(real);
        }
    }
    for (const auto& f : folders) {
        if (access(f.c_str(), W_OK | X_OK) != 0 && errno != ENOENT) {
            folder = f;
            reason = SystemErrorText(errno, 256);
            return true;
        }
    }
    return false;
}
