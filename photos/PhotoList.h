#pragma once
#include <string>
#include <vector>

enum RowIcon { IconBlank = 0, IconTick = 1, IconCross = 2 };

// Columns of a row; column 0 shows only the icon.
enum PhotoColumn { ColumnIcon = 0, ColumnName = 1, ColumnDate = 2, ColumnMessage = 3 };

struct PhotoRow {
    int icon = IconBlank;
    std::string name;      // file name with extension, without the folder
    std::string date;
    std::string message;   // position text or the reason for a failure
};

// Told when the list changes, so that a view can show it at once.
class PhotoListObserver {
public:
    virtual ~PhotoListObserver() = default;
    virtual void RowsReplaced() = 0;
    virtual void RowUpdated(int row) = 0;
};

// The photos every command works from and writes its outcome into.
class PhotoList {
public:
    std::string folder;          // empty, or ends in "/"; a photo's path is folder + name
    std::string newName;         // the new full path of the latest successful rename
    std::string renameMessage;   // the reason of the latest failed rename

    void SetFolder(const std::string& path);
    // Replaces all rows with the *.jpg files of the folder (any letter case), sorted by name.
    void LoadFolder(const std::string& path);
    // Replaces all rows with the given paths; folder becomes the last path's folder.
    void AddDroppedFiles(const std::vector<std::string>& paths);

    int Count() const { return static_cast<int>(rows.size()); }
    const PhotoRow& Row(int row) const { return rows.at(row); }
    std::string Text(int row, int column) const;
    void SetText(int row, int column, const std::string& text);
    void SetIcon(int row, int icon);
    std::string Path(int row) const { return folder + rows.at(row).name; }
    // Shows the row's new state at once (the observer repaints it).
    void Repaint(int row);

    void SetObserver(PhotoListObserver* o) { observer = o; }

private:
    std::vector<PhotoRow> rows;
    PhotoListObserver* observer = nullptr;
    void Replaced();
};
