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
#include "gui/RowPreviews.h"
#include "gui/Translations.h"
#include "coords/MapAddress.h"

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

// Room kept for a thumbnail that is still being made, so that rows don't shift when it comes.
const QPixmap& NoThumbnail()
{
    static const QPixmap blank = [] {
        QPixmap pixmap(48, RowPreviews::kHeight);
        pixmap.fill(Qt::transparent);
        return pixmap;
    }();
    return blank;
}

// What a screen reader says of a row's outcome, beside its name and texts.
QString KindWord(RowKind kind)
{
    switch (kind) {
    case RowKind::None: return PhotoListModel::tr("not processed");
    case RowKind::Tagged: return PhotoListModel::tr("tagged");
    case RowKind::TaggedInSidecar: return PhotoListModel::tr("tagged in its sidecar");
    case RowKind::Kept: return PhotoListModel::tr("kept its own position");
    case RowKind::Rejected: return PhotoListModel::tr("rejected");
    case RowKind::NoExif: return PhotoListModel::tr("no EXIF data");
    case RowKind::NoPosition: return PhotoListModel::tr("no GPS position");
    case RowKind::ReadFailed: return PhotoListModel::tr("could not be read");
    case RowKind::WriteFailed: return PhotoListModel::tr("failed");
    case RowKind::Parsed: return PhotoListModel::tr("read");
    case RowKind::Renamed: return PhotoListModel::tr("renamed");
    case RowKind::NotRenamed: return PhotoListModel::tr("not renamed");
    case RowKind::Restored: return PhotoListModel::tr("restored");
    case RowKind::NotRestored: return PhotoListModel::tr("not restored");
    case RowKind::Removed: return PhotoListModel::tr("position removed");
    }
    return {};
}

// Date and time in the locale's short form, with the seconds: an offset is checked by them.
QString LocaleDateTime(const QDateTime& taken)
{
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    if (!timeFormat.contains(u's'))
        timeFormat.replace(QStringLiteral("mm"), QStringLiteral("mm:ss"));
    return locale.toString(taken.date(), QLocale::ShortFormat) + u' ' + locale.toString(taken.time(), timeFormat);
}

}  // namespace

PhotoListModel::PhotoListModel(PhotoList& list, RowPreviews* previews, QObject* parent)
    : QAbstractTableModel(parent), list(list), previews(previews)
{
    if (previews)
        connect(previews, &RowPreviews::Ready, this, &PhotoListModel::PreviewReady);
}

void PhotoListModel::PreviewReady(const QString& path)
{
    if (rowOfPath.isEmpty())
        for (int row = 0; row < list.Count(); ++row)
            rowOfPath.insert(QString::fromStdString(list.Path(row)), row);
    const auto found = rowOfPath.constFind(path);
    if (found == rowOfPath.constEnd() || found.value() >= list.Count())
        return;
    emit dataChanged(index(found.value(), ColumnName), index(found.value(), ColumnDate));
}

QString PhotoListModel::DateText(int row) const
{
    if (previews) {
        if (const RowPreviews::Preview* preview = previews->Find(QString::fromStdString(list.Path(row))))
            if (preview->taken.isValid())
                return LocaleDateTime(preview->taken);
    }
    return QString::fromStdString(list.Text(row, ColumnDate));
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
    const int row = index.row();
    if (index.column() == ColumnIcon)
        return role == Qt::DecorationRole ? QVariant(RowStatusIcon(static_cast<int>(list.Row(row).icon)))
                                          : QVariant();
    if (role == Qt::DecorationRole && index.column() == ColumnName && previews) {
        const RowPreviews::Preview* preview = previews->Find(QString::fromStdString(list.Path(row)));
        return preview && !preview->thumbnail.isNull() ? preview->thumbnail : NoThumbnail();
    }
    if (role == Qt::DisplayRole)
        return index.column() == ColumnDate    ? DateText(row)
             : index.column() == ColumnMessage ? Translated(list.MessageText(row))
                                               : QString::fromStdString(list.Text(row, index.column()));
    if (role == Qt::ToolTipRole)   // what the view's own tip shows over the row
        return Translated(list.TipText(row));
    if (role == Qt::AccessibleTextRole && index.column() == ColumnName) {
        // "IMG_2301.JPG, tagged, 54.45 N 3.02 W": the outcome in words, never the icon alone.
        QStringList parts{QString::fromStdString(list.Text(row, ColumnName)), KindWord(list.Row(row).kind)};
        const QString message = Translated(list.MessageText(row));
        if (!message.isEmpty())
            parts.append(message);
        return parts.join(QStringLiteral(", "));
    }
    return {};
}

QVariant PhotoListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ColumnName: return tr("File name");
    case ColumnDate: return tr("Date");
    case ColumnMessage: return tr("Position/Message");
    default: return QString();
    }
}

void PhotoListModel::Reset()
{
    beginResetModel();
    rowOfPath.clear();
    if (previews)
        previews->Clear();
    endResetModel();
}

void PhotoListModel::RowChanged(int row)
{
    if (!rowOfPath.isEmpty())   // a rename gives the row a new path
        rowOfPath.insert(QString::fromStdString(list.Path(row)), row);
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

PhotoListView::PhotoListView(PhotoList& list, QWidget* parent, bool withPreviews)
    : QTableView(parent), list(list), previews(withPreviews ? new RowPreviews(this) : nullptr),
      rowModel(new PhotoListModel(list, previews, this))
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
    setAccessibleName(tr("Photos"));
    setAccessibleDescription(tr("One row per photo: its name, when it was taken, and its position or what went wrong"));
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(qMax(fontMetrics().height() + 4, RowPreviews::kHeight + 2));
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
    // The date column shows a date and a time once the photos are read: it takes the room
    // for one from the name column, whose share it otherwise keeps.
    int date = static_cast<int>(w * 0.15);
    if (previews) {
        const QString sample = LocaleDateTime(QDateTime(QDate(2023, 12, 28), QTime(23, 58, 58), Qt::UTC));
        date = std::max(date, fontMetrics().horizontalAdvance(sample) + 12);
    }
    const int nameAndDate = static_cast<int>(w * 0.5) + static_cast<int>(w * 0.15);
    setColumnWidth(ColumnName, std::max(nameAndDate - date, static_cast<int>(w * 0.25)));
    setColumnWidth(ColumnDate, date);
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
        const QString tip = index.isValid() ? Translated(list.TipText(index.row())) : QString();
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

void PhotoListView::SetWorkspace(std::function<Workspace*()> find)
{
    if (previews)
        previews->SetWorkspace(std::move(find));
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
    QAction* map = menu->addAction(tr("Show on &map"), this, [this, row] { ShowOnMap(row); });
    map->setObjectName(QStringLiteral("showOnMapAction"));
    map->setEnabled(hasPosition);
    QAction* copy = menu->addAction(tr("&Copy position"), this, [this, row] {
        const RowPosition& p = *list.Row(row).position;
        char text[64];
        // "51.523500, -0.089000": what map sites and other programs take, "." whatever the locale.
        std::snprintf(text, sizeof text, "%.6f, %.6f", p.latitude, p.longitude);
        for (char* c = text; *c; ++c)
            if (*c == ',' && c[1] != ' ')
                *c = '.';
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
    });
    copy->setObjectName(QStringLiteral("copyPositionAction"));
    copy->setEnabled(hasPosition);
    menu->addSeparator();
    const QList<int> rows = MenuRows(row);
    QAction* remove = menu->addAction(rows.size() > 1 ? tr("&Remove positions (%L1 photos)").arg(rows.size())
                                                      : tr("&Remove position"),
                                      this, [this, rows] { emit RemovePositionRequested(rows); });
    remove->setObjectName(QStringLiteral("removePositionAction"));
    remove->setEnabled(!rows.isEmpty());
    QAction* undo = menu->addAction(tr("&Undo last run"), this, [this] { emit UndoLastRunRequested(); });
    undo->setObjectName(QStringLiteral("undoLastRunAction"));
    undo->setShortcut(QKeySequence::Undo);
    return menu;
}

void PhotoListView::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    RowMenu(index.isValid() ? index.row() : -1)->popup(event->globalPos());
}

void PhotoListView::hideEvent(QHideEvent* event)
{
    // No preview is made for a list nobody sees, and none outlives the window's working files.
    if (previews)
        previews->Stop();
    QTableView::hideEvent(event);
}
