// How soon the map shows a large list: COUNT photos, each given a position, as a Parse
// would give them, timed from the first row set to the page holding (and clustering) a
// marker for every one. Run by scripts/bench-map-load.sh:
//   map_load_bench [COUNT]
// Prints "COUNT photos on the map in S s"; exit 1 when the map never holds them all.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QVariantMap>
#include <QWebEnginePage>
#include <QWidget>

#include "exif/Workspace.h"
#include "gui/PhotoListView.h"
#include "gui/map/MapPanel.h"
#include "gui/map/tools/EventWait.h"
#include "photos/PhotoList.h"

namespace {

// The page's counts of markers and of markers in its clusters, -1 while it has not answered.
std::pair<int, int> Markers(MapPanel* panel)
{
    const QVariant state = PageValue(panel->Page(), QStringLiteral("pinrouteState()"));
    if (!state.isValid())
        return {-1, -1};
    const QVariantMap values = state.toMap();
    return {values.value(QStringLiteral("markers")).toInt(), values.value(QStringLiteral("clustered")).toInt()};
}

}  // namespace

int main(int argc, char* argv[])
{
    if (geteuid() == 0)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    char folder[] = "/tmp/map-load-XXXXXX";
    if (count < 1 || !mkdtemp(folder)) {
        std::fprintf(stderr, "usage: map_load_bench [COUNT]\n");
        return 2;
    }
    const std::string ini = std::string(folder) + "/pinroute.ini";
    if (FILE* f = std::fopen(ini.c_str(), "w")) {
        std::fputs("[Config]\nMapTiles=\n", f);   // no tiles: the map's own cost, not the network's
        std::fclose(f);
    }
    PhotoList photos;
    Workspace workspace;
    QWidget host;
    auto* list = new PhotoListView(photos, &host);
    auto* panel = new MapPanel(photos, list, ini, MapHooks{[&] { return &workspace; }, [] { return false; }}, &host);
    auto* layout = new QHBoxLayout(&host);
    layout->addWidget(list);
    layout->addWidget(panel, 1);
    host.resize(1000, 600);
    host.show();
    if (!WaitFor([&] { return panel->PageReady(); }, 60000)) {
        std::fprintf(stderr, "the map did not load\n");
        return 1;
    }
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back("/trip/IMG_" + std::to_string(i) + ".jpg");
    photos.AddDroppedFiles(paths);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        RowOutcome outcome(RowKind::Parsed);
        outcome.position = RowPosition{54.0 + (i % 100) * 0.01, -3.0 - (i / 100) * 0.01, false};
        photos.SetRow(i, outcome);
    }
    std::pair<int, int> markers;
    const bool all = WaitFor([&] { return (markers = Markers(panel)) == std::make_pair(count, count); }, 120000);
    std::remove(ini.c_str());
    rmdir(folder);
    if (!all) {
        std::fprintf(stderr, "the map holds %d markers, %d clustered, of %d photos\n", markers.first, markers.second,
                     count);
        return 1;
    }
    std::printf("%d photos on the map in %.2f s\n", count, clock.elapsed() / 1000.0);
    return 0;
}
