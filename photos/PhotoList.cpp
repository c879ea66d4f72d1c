#include "photos/PhotoList.h"

#include "common/FolderListing.h"
#include "photos/FolderCheck.h"
#include "photos/PhotoKinds.h"
#include "photos/PositionTip.h"

void PhotoList::SetFolder(const std::string& path)
{
    folder = path;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
}

void PhotoList::LoadFolder(const std::string& path, bool recurse)
{
    SetFolder(path);
    rows.clear();
    // An empty folder means the current directory, as the photo paths are then relative.
    for (auto& photo : PhotosIn(folder, recurse)) {
        PhotoRow row;
        row.path = std::move(photo);
        rows.push_back(std::move(row));
    }
    Replaced();
}

void PhotoList::AddDroppedFiles(const std::vector<std::string>& paths)
{
    rows.clear();
    for (std::string path : paths) {
        // A dropped folder may come as "/trips/may/": it is listed as "may".
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        if (FileNameOf(path).empty())
            continue;
        PhotoRow row;
        row.path = std::move(path);
        rows.push_back(std::move(row));
    }
    Replaced();
}

std::string PhotoList::Text(int row, int column) const
{
    if (row < 0 || row >= Count())
        return {};
    const PhotoRow& r = rows[static_cast<size_t>(row)];
    switch (column) {
    case ColumnName:
        // Below the folder loaded, its sub-folders tell apart photos of the same name.
        if (!folder.empty() && r.path.size() > folder.size() && r.path.compare(0, folder.size(), folder) == 0)
            return r.path.substr(folder.size());
        return FileNameOf(r.path);
    case ColumnDate: return r.date;
    case ColumnMessage: return MessageText(row).English();
    default: return {};
    }
}

::Text PhotoList::MessageText(int row) const
{
    if (row < 0 || row >= Count())
        return {};
    const PhotoRow& r = rows[static_cast<size_t>(row)];
    return ::Text::Joined({r.message, r.place}, " \u2014 ");
}

std::string PhotoList::Tip(int row) const
{
    return TipText(row).English();
}

::Text PhotoList::TipText(int row) const
{
    if (row < 0 || row >= Count())
        return {};
    const PhotoRow& r = rows[static_cast<size_t>(row)];
    // A position written into a sidecar instead of the photo: why, then where.
    return ::Text::Joined({r.tip, r.position ? PositionTipText(*r.position) : ::Text(), r.place}, "\n");
}

void PhotoList::SetRow(int row, const RowOutcome& outcome)
{
    if (row < 0 || row >= Count())
        return;
    PhotoRow& r = rows[static_cast<size_t>(row)];
    r.icon = outcome.icon;
    r.kind = outcome.kind;
    if (outcome.date)
        r.date = *outcome.date;
    r.message = outcome.text;
    r.tip = outcome.tip;
    r.position = outcome.position;
    r.place = outcome.place;
    if (!outcome.newPath.empty())
        r.path = outcome.newPath;
    if (observer)
        observer->RowUpdated(row);
}

void PhotoList::Replaced()
{
    if (observer)
        observer->RowsReplaced();
}
