#pragma once
#include <optional>
#include <string>
#include <vector>

#include "common/PathText.h"
#include "photos/PhotoRows.h"

// Columns of a row; column 0 shows only the icon.
enum PhotoColumn { ColumnIcon = 0, ColumnName = 1, ColumnDate = 2, ColumnMessage = 3 };

struct PhotoRow {
    RowIcon icon = RowIcon::Blank;
    RowKind kind = RowKind::None;   // what the latest run found
    std::string path;      // the photo's full path, as listed or dropped
    std::string date;
    ::Text message;        // position text or the reason for a failure
    ::Text tip;            // the row's tooltip, or empty
    std::optional<RowPosition> position;   // what the latest run read or wrote
    std::string place;     // "Kendal, England, United Kingdom", shown after the message
};

// Told when the list changes, so that a view can show it at once.
class PhotoListObserver {
public:
    virtual ~PhotoListObserver() = default;
    virtual void RowsReplaced() = 0;
    virtual void RowUpdated(int row) = 0;
};

// The photos every command works from and writes its outcome into.
class PhotoList : public PhotoRows {
public:
    std::string folder;   // the folder last loaded: empty, or ends in "/"

    void SetFolder(const std::string& path);
    // Replaces all rows with the photos of the folder (every kind IsPhotoName takes, any
    // letter case), sorted by name ignoring case; with recurse, then those of its
    // sub-folders, each folder's after the ones before it by name.
    void LoadFolder(const std::string& path, bool recurse = false);
    // Replaces all rows with the given paths, each keeping its own folder.
    void AddDroppedFiles(const std::vector<std::string>& paths);

    int Count() const override { return static_cast<int>(rows.size()); }
    std::string Path(int row) const override { return rows.at(row).path; }
    // Applies a run's outcome and shows the row at once.
    void SetRow(int row, const RowOutcome& outcome) override;

    const PhotoRow& Row(int row) const { return rows.at(row); }
    // The cell's text; the name column shows the path below the folder loaded
    // ("100CANON/IMG_0001.JPG"), or the file name for a photo from elsewhere.
    std::string Text(int row, int column) const;
    // The row's tooltip: why its photo failed, else its position in both forms, else "".
    std::string Tip(int row) const;
    // The same two as texts for the window to translate.
    ::Text MessageText(int row) const;
    ::Text TipText(int row) const;

    void SetObserver(PhotoListObserver* o) { observer = o; }

private:
    std::vector<PhotoRow> rows;
    PhotoListObserver* observer = nullptr;
    void Replaced();
};
