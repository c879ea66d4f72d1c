#include "gui/map/MapNotices.h"

#include <algorithm>
#include <vector>

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTimer>

#include "gui/HelpLauncher.h"
#include "gui/map/MapBridge.h"
#include "gui/map/MapPanel.h"

using namespace Qt::StringLiterals;

namespace {

QString NoticeFile()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty())
            return {};
        state = home + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/pinroute/map-tiles-notice-seen");
}

}  // namespace

bool TilesNoticeDue()
{
    const QString path = NoticeFile();
    return path.isEmpty() || !QFile::exists(path);
}

void TilesNoticeSeen()
{
    const QString path = NoticeFile();
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path()))
        return;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

void ConnectPageRequests(MapBridge& bridge, MapPanel& panel, QAbstractItemView& list)
{
    bridge.onNoticeSeen = [] { TilesNoticeSeen(); };
    bridge.onOpenManual = [] { HelpLauncher().ShowTopic("pinroute.html#map-tiles"); };
    QAbstractItemView* rowsView = &list;
    MapPanel* target = &panel;
    bridge.onPlaceSelected = [rowsView, target](double latitude, double longitude) {
        std::vector<int> rows;
        for (const QModelIndex& index : rowsView->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        // After the page's key has been handled: the question is a dialog of its own.
        QTimer::singleShot(0, target, [target, rows, latitude, longitude] {
            target->PlaceRows(rows, latitude, longitude);
        });
    };
}
