#include "gui/PhotoListView.h"

#include <algorithm>
#include <cstdio>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>

#include "gui/Icons.h"
#include "gui/LinkEdit.h"
#include "photos/PositionTip.h"

namespace {

const int kColumnCount = 4;

// The local paths among the dropped URLs, in their order.
std::vector<std::string> LocalPaths(const QMimeData* mime)
{
    std::vector<std::string> paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    return paths;
}

}  // namespace

PhotoListModel::PhotoListModel(PhotoList& list, QObject* parent)
    : QAbstractTableModel(parent), list(list)
{
}

int PhotoListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : list.Count();
}

int PhotoListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant PhotoListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= list.Count())
        return {};
    if (index.column() == ColumnIcon)
        return role == Qt::DecorationRole ? QVariant(RowStatusIcon(static_cast<int>(list.Row(index.row()).icon)))
                                          : QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromStdString(list.Text(index.row(), index.column()));
    return {};
}

QVariant PhotoListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const kTitles[kColumnCount] = {"", "File name", "Date", "Position/Message"};
    return section >= 0 && section < kColumnCount ? QString(kTitles[section]) : QString();
}

void PhotoListModel::Reset()
{
    beginResetModel();
    endResetModel();
}

void PhotoListModel::RowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

PhotoListView::PhotoListView(PhotoList& list, QWidget* parent)
    : QTableView(parent), list(list), rowModel(new PhotoListModel(list, this))
{
    setModel(rowModel);
    list.SetObserver(this);

    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setIconSize(QSize(16, 16));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(qMax(fontMetrics().height() + 4, 18));
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);   // the position/message column takes the rest
    horizontalHeader()->setSectionsClickable(false);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { ShowOnMap(index.row()); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (scrollingToRow || latestRow < 0)
            return;
        // The user scrolled: follow again only when the latest row is back in view.
        const QRect row = visualRect(rowModel->index(latestRow, ColumnName));
        following = row.isValid() && viewport()->rect().intersects(row);
    });
}

PhotoListView::~PhotoListView()
{
    list.SetObserver(nullptr);
}

void PhotoListView::SetupColumns()
{
    const int w = width() - 36;   // width() is the outer width, the frame included
    setColumnWidth(ColumnIcon, 32);
    setColumnWidth(ColumnName, static_cast<int>(w * 0.5));
    setColumnWidth(ColumnDate, static_cast<int>(w * 0.15));
    setColumnWidth(ColumnMessage, static_cast<int>(w * 0.35));
}

void PhotoListView::RowsReplaced()
{
    rowModel->Reset();
    following = true;
    latestRow = -1;
}

void PhotoListView::RowUpdated(int row)
{
    rowModel->RowChanged(row);
    latestRow = row;
    if (!following)
        return;
    scrollingToRow = true;
    scrollTo(rowModel->index(row, ColumnName));
    scrollingToRow = false;
}

bool PhotoListView::viewportEvent(QEvent* event)
{
    // Tips only for cells whose text is cut off, with the whole text.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        // A row's own tip (why its photo failed, or its position) covers the whole row.
        const QString tip = index.isValid() ? QString::fromStdString(list.Tip(index.row())) : QString();
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
            return true;
        }
        const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
        if (!text.isEmpty()) {
            const QRect cell = visualRect(index);
            const int room = cell.width() - 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
            if (fontMetrics().horizontalAdvance(text) > room) {
                QToolTip::showText(help->globalPos(), text, viewport(), cell);
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QTableView::viewportEvent(event);
}

void PhotoListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalPaths(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void PhotoListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!LocalPaths(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void PhotoListView::dropEvent(QDropEvent* event)
{
    const std::vector<std::string> paths = LocalPaths(event->mimeData());
    if (paths.empty()) {
        event->ignore();
        return;
    }
    list.AddDroppedFiles(paths);
    event->acceptProposedAction();
}

void PhotoListView::SetLinkOpener(LinkOpener* o)
{
    opener = o;
}

bool PhotoListView::ShowOnMap(int row)
{
    if (row < 0 || row >= list.Count() || !list.Row(row).position)
        return false;
    const RowPosition& position = *list.Row(row).position;
    LinkOpener& target = opener ? *opener : DesktopLinkOpener();
    const QString address = QString::fromStdString(MapAddress(position.latitude, position.longitude));
    if (!target.Open(address))
        emit MapNotShown(address);
    return true;
}

QList<int> PhotoListView::MenuRows(int row) const
{
    QList<int> rows;
    if (selectionModel() && selectionModel()->isRowSelected(row, QModelIndex()))
        for (const QModelIndex& index : selectionModel()->selectedRows())
            rows.append(index.row());
    if (rows.isEmpty() && row >= 0 && row < list.Count())
        rows.append(row);
    std::sort(rows.begin(), rows.end());
    return rows;
}

QMenu* PhotoListView::RowMenu(int row)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool hasPosition = row >= 0 && row < list.Count() && list.Row(row).position.has_value();
    QAction* map = menu->addAction("Show on &map", this, [this, row] { ShowOnMap(row); });
    map->setObjectName("showOnMapAction");
    map->setEnabled(hasPosition);
    QAction* copy = menu->addAction("&Copy position", this, [this, row] {
        const RowPosition& p = *list.Row(row).position;
        char text[64];
        // "51.523500, -0.089000": what map sites and other programs take, "." whatever the locale.
        std::snprintf(text, sizeof text, "%.6f, %.6f", p.latitude, p.longitude);
        for (char* c = text; *c; ++c)
            if (*c == ',' && c[1] != ' ')
                *c = '.';
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
    });
    copy->setObjectName("copyPositionAction");
    copy->setEnabled(hasPosition);
    menu->addSeparator();
    const QList<int> rows = MenuRows(row);
    QAction* remove = menu->addAction(rows.size() > 1 ? QString("&Remove positions (%1 photos)").arg(rows.size())
                                                      : QString("&Remove position"),
                                      this, [this, rows] { emit RemovePositionRequested(rows); });
    remove->setObjectName("removePositionAction");
    remove->setEnabled(!rows.isEmpty());
    QAction* undo = menu->addAction("&Undo last run", this, [this] { emit UndoLastRunRequested(); });
    undo->setObjectName("undoLastRunAction");
    undo->setShortcut(QKeySequence::Undo);
    return menu;
}

void PhotoListView::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    RowMenu(index.isValid() ? index.row() : -1)->popup(event->globalPos());
}
