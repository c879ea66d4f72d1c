#include "gui/map/MapSplitter.h"

#include <algorithm>
#include <memory>

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "gui/map/RowDrag.h"
#include "settings/Settings.h"

namespace {

const int kHandleWidth = 10;   // pixels: wide enough to hit

// The handle between the list and the map: a click shows or hides the map, a drag sizes it.
class MapHandle : public QSplitterHandle {
public:
    MapHandle(Qt::Orientation orientation, MapSplitter* parent) : QSplitterHandle(orientation, parent), owner(parent)
    {
        setObjectName(QStringLiteral("mapHandle"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(underMouse() ? QPalette::Midlight : QPalette::Button));
        painter.setRenderHint(QPainter::Antialiasing);
        // An arrow the way the map would go: right to hide it, left to bring it out.
        const double cx = width() / 2.0, cy = height() / 2.0, w = 3, h = 5;
        const double sign = owner->MapShown() ? 1 : -1;
        QPainterPath arrow;
        arrow.moveTo(cx - sign * w, cy - h);
        arrow.lineTo(cx + sign * w, cy);
        arrow.lineTo(cx - sign * w, cy + h);
        arrow.closeSubpath();
        painter.fillPath(arrow, palette().color(QPalette::ButtonText));
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        pressAt = event->position().toPoint();
        dragging = false;
        QSplitterHandle::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        // A hand that shakes a little still clicks.
        if (!dragging && (event->position().toPoint() - pressAt).manhattanLength() < QApplication::startDragDistance())
            return;
        dragging = true;
        QSplitterHandle::mouseMoveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QSplitterHandle::mouseReleaseEvent(event);
        if (!dragging && event->button() == Qt::LeftButton)
            owner->ToggleMap();
    }
    void enterEvent(QEnterEvent* event) override
    {
        QSplitterHandle::enterEvent(event);
        update();
    }
    void leaveEvent(QEvent* event) override
    {
        QSplitterHandle::leaveEvent(event);
        update();
    }

private:
    MapSplitter* owner;
    QPoint pressAt;
    bool dragging = false;
};

// Starts a drag of the selected rows from the list, which starts none itself. A press on a
// row already selected waits: a move starts the drag, a release is handed on as the click
// it was.
class RowDragStarter : public QObject {
public:
    RowDragStarter(QAbstractItemView* list, std::function<bool()> allowed)
        : QObject(list), list(list), allowed(std::move(allowed))
    {
        list->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (replaying)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex index = list->indexAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier && index.isValid()
                && list->selectionModel()->isRowSelected(index.row(), QModelIndex()) && allowed()) {
                press.reset(mouse->clone());
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            if (!press)
                break;
            auto* mouse = static_cast<QMouseEvent*>(event);
            if ((mouse->buttons() & Qt::LeftButton)
                && (mouse->position() - press->position()).manhattanLength() >= QApplication::startDragDistance()) {
                press.reset();
                StartDrag();
            }
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (press) {
                replaying = true;
                QCoreApplication::sendEvent(list->viewport(), press.get());
                QCoreApplication::sendEvent(list->viewport(), event);
                replaying = false;
                press.reset();
                return true;
            }
            break;
        default: break;
        }
        return false;
    }

private:
    void StartDrag()
    {
        std::vector<int> rows;
        for (const QModelIndex& index : list->selectionModel()->selectedRows())
            rows.push_back(index.row());
        if (rows.empty())
            return;
        std::sort(rows.begin(), rows.end());
        auto* mime = new QMimeData;
        mime->setData(kRowsMimeType, EncodeRows(rows));
        mime->setText(rows.size() == 1 ? MapSplitter::tr("1 photo") : MapSplitter::tr("%L1 photos").arg(rows.size()));
        auto* drag = new QDrag(list);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction);
    }

    QAbstractItemView* list;
    std::function<bool()> allowed;
    std::unique_ptr<QMouseEvent> press;
    bool replaying = false;
};

}  // namespace

MapSplitter::MapSplitter(PhotoList& photos, QAbstractItemView* list, std::string settingsPath, MapHooks hooks,
                         QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), list(list), settingsPath(std::move(settingsPath)), hooks(hooks),
      listWidth(list->width())
{
    setObjectName(QStringLiteral("listSplitter"));
    setGeometry(list->geometry());
    setChildrenCollapsible(true);
    setHandleWidth(kHandleWidth);
    addWidget(list);
    panel = new MapPanel(photos, list, this->settingsPath, std::move(hooks), this);
    panel->setMinimumWidth(kMapLeast);
    addWidget(panel);
    setCollapsible(0, false);
    // A wider window widens the map; the list keeps the width the user gave it.
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    Settings settings;
    settings.Read(this->settingsPath);
    wanted = settings.ShowMap != 0;
    setSizes({width(), 0});
    Arrange();
    connect(this, &QSplitter::splitterMoved, this, [this] {
        // Dragged shut, or dragged out: what the user wants now.
        const bool open = sizes().value(1) > 0;
        if (open != wanted)
            SetWanted(open);
        if (QSplitterHandle* h = handle(1))
            h->update();
    });
    new RowDragStarter(list, [this] { return MapShown() && !(this->hooks.busy && this->hooks.busy()); });
}

bool MapSplitter::MapShown() const
{
    return sizes().value(1) > 0;
}

QSplitterHandle* MapSplitter::createHandle()
{
    return new MapHandle(orientation(), this);
}

void MapSplitter::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    Arrange();
}

void MapSplitter::Arrange()
{
    const int room = width() - handleWidth();
    const bool fits = room >= listWidth + kMapLeast;
    const QList<int> now = sizes();
    if (wanted && fits) {
        if (now.value(1) == 0) {
            const int map = room - std::max(listWidth, room * 2 / 5);
            setSizes({room - map, map});
        }
    } else if (now.value(1) != 0) {
        setSizes({room, 0});
    }
    if (QSplitterHandle* h = handle(1)) {
        h->setToolTip(MapShown() ? tr("Hide the map (Ctrl+M)") : tr("Show the map (Ctrl+M)"));
        h->update();
    }
}

void MapSplitter::ToggleMap()
{
    const bool on = !MapShown();
    SetWanted(on);
    QWidget* top = window();
    const int need = listWidth + handleWidth() + std::max(kMapLeast, listWidth) - width();
    if (on && need > 0 && top && !top->isMaximized() && !top->isFullScreen()) {
        int target = top->width() + need;
        if (const QScreen* screen = top->screen())
            target = std::min(target, screen->availableGeometry().width() - (top->frameGeometry().width() - top->width()));
        if (target > top->width())
            top->resize(target, top->height());
    }
    Arrange();
}

void MapSplitter::SetWanted(bool on)
{
    wanted = on;
    Settings settings;
    std::string reason;
    // Kept for the next start; a file that can't be read is never written over.
    if (settings.Read(settingsPath) && settings.ShowMap != static_cast<int32_t>(on)) {
        settings.ShowMap = on;
        settings.Write(settingsPath, reason);
    }
}
