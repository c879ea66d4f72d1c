#pragma once
#include <functional>

#include <QAbstractTableModel>
#include <QHash>
#include <QTableView>

#include "photos/PhotoList.h"

class LinkOpener;
class QMenu;
class RowPreviews;
class Workspace;

// The photo list's rows as a table model: column 0 the icon, columns 1-3 the texts. The
// name carries the photo's thumbnail, and the date its capture time in the user's locale,
// once they are read (previews may be null: names and texts alone).
class PhotoListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PhotoListModel(PhotoList& list, RowPreviews* previews = nullptr, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Reset();
    void RowChanged(int row);

private:
    void PreviewReady(const QString& path);
    QString DateText(int row) const;

    PhotoList& list;
    RowPreviews* previews;
    QHash<QString, int> rowOfPath;   // made when the first preview arrives after a reset
};

// The list of photos in the main window. It shows the PhotoList it is given, repaints a row
// as soon as a run has updated it, and replaces its rows with files dropped onto it.
class PhotoListView : public QTableView, public PhotoListObserver {
    Q_OBJECT
public:
    // withPreviews false: names and texts alone, no thumbnails or capture times read.
    PhotoListView(PhotoList& list, QWidget* parent = nullptr, bool withPreviews = true);
    ~PhotoListView() override;

    // Columns 32, 0.5 W, 0.15 W and 0.35 W pixels wide, W being the outer width less 36; with
    // previews, the date column as wide as a date and time, taken from the name column.
    void SetupColumns();

    void RowsReplaced() override;
    void RowUpdated(int row) override;

    // The previews' listings and pictures go into the window's working folder.
    void SetWorkspace(std::function<Workspace*()> find);

    // Where "Show on map" sends its address; null: the desktop's browser.
    void SetLinkOpener(LinkOpener* opener);
    // Opens the row's position on the map; false when the row has none.
    bool ShowOnMap(int row);
    // The row's context menu: "Show on map" and "Copy position" (enabled when the row has a
    // position), "Remove position" for the selected rows (or this one), "Undo last run".
    QMenu* RowMenu(int row);
    // The rows the menu's commands work on: the selection when it holds row, else row alone.
    QList<int> MenuRows(int row) const;

signals:
    // No browser could be started for a row's map address.
    void MapNotShown(const QString& address);
    // The user asked, from the context menu, to remove the positions of rows, or to undo
    // the last run; the window decides and asks.
    void RemovePositionRequested(const QList<int>& rows);
    void UndoLastRunRequested();

protected:
    bool viewportEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    PhotoList& list;
    RowPreviews* previews;
    PhotoListModel* rowModel;
    LinkOpener* opener = nullptr;
    // The list follows a run's latest row until the user scrolls away from it, and again
    // once they scroll back to it.
    bool following = true;
    bool scrollingToRow = false;
    int latestRow = -1;
};
