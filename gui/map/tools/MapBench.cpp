// A GeoTag run in the real window, with the map shown or hidden: how long the run takes,
// and how soon after it the map shows every photo. Run by scripts/bench-map.sh:
//   map_bench SETTINGS.ini
// The settings' ShowMap says whether the map is shown; the window is made wide enough.
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>

#include "gui/MainDialog.h"
#include "gui/map/MapPanel.h"
#include "gui/map/MapSplitter.h"
#include "gui/map/tools/EventWait.h"

namespace {

// The page's count of markers, -1 while it has not answered.
int Markers(MapPanel* panel)
{
    const QVariant markers = PageValue(panel->Page(), QStringLiteral("pinrouteState().markers"));
    return markers.isValid() ? markers.toInt() : -1;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (geteuid() == 0)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: map_bench SETTINGS.ini\n");
        return 2;
    }
    MainDialog dialog(argv[1]);
    dialog.resize(1400, 700);
    dialog.show();
    auto* splitter = dialog.findChild<MapSplitter*>();
    MapPanel* panel = splitter->Panel();
    const bool shown = splitter->MapShown();
    if (shown && !WaitFor([&] { return panel->PageReady(); }, 20000)) {
        std::fprintf(stderr, "the map did not load\n");
        return 1;
    }
    QElapsedTimer clock;
    bool finished = false;
    QObject::connect(&dialog, &MainDialog::RunFinished, [&] { finished = true; });
    clock.start();
    dialog.OnGeoTag();
    WaitFor([&] { return finished; }, 600000);
    const qint64 runMs = clock.elapsed();
    std::printf("map %s: run %.2f s", shown ? "shown" : "hidden", runMs / 1000.0);
    if (shown) {
        int markers = 0;
        const int rows = dialog.findChild<QAbstractItemView*>("photoList")->model()->rowCount();
        WaitFor([&] { return (markers = Markers(panel)) >= rows; }, 10000);
        std::printf(", every marker on the map %.2f s after the run (%d markers)", (clock.elapsed() - runMs) / 1000.0,
                    markers);
    }
    std::printf("\n");
    return 0;
}
