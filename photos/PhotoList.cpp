#include "photos/PhotoList.h"

#include "common/FolderListing.h"

void PhotoList::SetFolder(const std::string& path)
{
    folder = path;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
}

void PhotoList::LoadFolder(const std::string& path)
{
    SetFolder(path);
    rows.clear();

    // An empty folder means the current directory, as the photo paths are then relative.
    for (auto& name : MatchingNames(folder, "*.jpg")) {
        PhotoRow row;
        row.name = std::move(name);
        rows.push_back(std::move(row));
    }
    Replaced();
}

void PhotoList::AddDroppedFiles(const std::vector<std::string>& paths)
{
    rows.clear();
    bool anyRead = false;
    std::string lastFolder;
    for (std::string path : paths) {
        // A dropped folder may come as "/trips/may/": it is listed as "may".
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        const size_t slash = path.rfind('/');
        std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (name.empty())
            continue;
        PhotoRow row;
        row.name = std::move(name);
        rows.push_back(std::move(row));
        lastFolder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        anyRead = true;
    }
    if (anyRead)
        folder = lastFolder;
    Replaced();
}

std::string PhotoList::Text(int row, int column) const
{
    if (row < 0 || row >= Count())
        return {};
    const PhotoRow& r = rows[static_cast<size_t>(row)];
    switch (column) {
    case ColumnName: return r.name;
    case ColumnDate: return r.date;
    case ColumnMessage: return r.message;
    default: return {};
    }
}

void PhotoList::SetText(int row, int column, const std::string& text)
{
    if (row < 0 || row >= Count())
        return;
    PhotoRow& r = rows[static_cast<size_t>(row)];
    switch (column) {
    case ColumnName: r.name = text; break;
    case ColumnDate: r.date = text; break;
    case ColumnMessage: r.message = text; break;
    default: break;
    }
}

void PhotoList::SetIcon(int row, int icon)
{
    if (row >= 0 && row < Count())
        rows[static_cast<size_t>(row)].icon = icon;
}

void PhotoList::Repaint(int row)
{
    if (observer)
        observer->RowUpdated(row);
}

void PhotoList::Replaced()
{
    if (observer)
        observer->RowsReplaced();
}
