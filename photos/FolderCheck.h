#pragma once
#include <string>
#include <vector>

#include "common/Text.h"

// The photos of a folder as the list takes them: full paths (folder + name), photos of
// every kind IsPhotoName takes, sorted by name ignoring case; with recurse, then those of
// its sub-folders in the same order, depth first. Hidden folders and links to folders
// are not entered. folder is "" (the current directory) or ends in "/".
std::vector<std::string> PhotosIn(const std::string& folder, bool recurse);

enum class FolderProblem {
    None,                 // photos to work on
    NotSet,               // no folder given
    Missing,              // no such folder
    NotAFolder,
    Unreadable,           // reason says why
    NoPhotos,             // a folder without a photo, in it or below it
    PhotosInSubfolders,   // none in it, but some below it: a camera card's DCIM/100CANON
};

// What a photo folder holds, checked before a run and in Set-up.
struct FolderCheck {
    FolderProblem problem = FolderProblem::None;
    int photos = 0;              // in the folder (and below it, with recurse)
    int belowPhotos = 0;         // below it, when PhotosInSubfolders
    std::string firstBelow;      // the first sub-folder holding photos, relative: "DCIM/100CANON"
    std::string reason;          // the system's words for Unreadable
};

FolderCheck CheckPhotoFolder(const std::string& folder, bool recurse);

// One sentence for a problem, naming the folder: "The photo folder /media/card has no
// photos, but its sub-folders have 312 (DCIM/100CANON): include sub-folders to use them."
// "" for None. remedy is what the front end offers for sub-folders.
Text FolderCheckText(const FolderCheck& check, const std::string& folder,
                     const Text& remedy = Text("Folder", QT_TRANSLATE_NOOP("Folder", "include sub-folders to use them")));

// The first folder among the photos' folders (and, for links, their targets' folders) that
// Pinroute can't write in, with the system's reason; false when it can write in all.
bool UnwritableFolder(const std::vector<std::string>& photoPaths, std::string& folder, std::string& reason);
