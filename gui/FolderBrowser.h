#pragma once
#include <QString>

class QWidget;

// The two modal choosers of the Set-up dialog. Tests hand the dialog their own answers.
class PathPickers {
public:
    virtual ~PathPickers() = default;
    // start: the folder to open on, without a final "/". True and the chosen folder
    // (no final "/" except for the root) when the user picks one; false when cancelled.
    virtual bool BrowseFolder(QWidget* parent, const QString& title, const QString& start,
                              QString& chosen) = 0;
    // start: the current GPX text (a file, a pattern or empty). True and the chosen
    // file's full path on OK; false when cancelled.
    virtual bool BrowseGpxFile(QWidget* parent, const QString& start, QString& chosen) = 0;
};

// The real choosers: Qt's folder and open-file dialogs.
class FolderBrowser : public PathPickers {
public:
    bool BrowseFolder(QWidget* parent, const QString& title, const QString& start,
                      QString& chosen) override;
    bool BrowseGpxFile(QWidget* parent, const QString& start, QString& chosen) override;
};

// The open-file dialog's one filter. It shows as "GPX Files *.GPX"; the pattern inside
// the parentheses spells each letter both ways, so that native dialogs that compare
// names by case (GTK's) list a.gpx, B.GPX and c.Gpx alike.
extern const char kGpxFileFilter[];
