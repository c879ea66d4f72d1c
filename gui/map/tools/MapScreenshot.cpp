// Takes the README's screenshot: the main window with the map, over a copy of the example
// set, after GeoTag, one photo selected. Tiles show when the network is there.
//   map_screenshot EXAMPLES_FOLDER OUTPUT.png
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTimer>

#include "gui/MainDialog.h"
#include "gui/Translations.h"
#include "gui/map/MapPanel.h"
#include "gui/map/MapSplitter.h"
#include "gui/map/tools/EventWait.h"

int main(int argc, char* argv[])
{
    if (geteuid() == 0)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    LoadTranslations(app);   // the window in the user's language, as the program shows it
    if (argc != 3) {
        std::fprintf(stderr, "usage: map_screenshot EXAMPLES_FOLDER OUTPUT.png\n");
        return 2;
    }
    const QDir examples(QString::fromLocal8Bit(argv[1]));
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();

    // Work on a copy: GeoTag writes into the photos.
    QTemporaryDir work;
    const QDir dir(work.path());
    dir.mkpath("photos");
    const QDir photos(examples.filePath("photos"));
    for (const QString& name : photos.entryList(QDir::Files, QDir::Name))
        QFile::copy(photos.filePath(name), dir.filePath("photos/" + name));
    QFile::copy(examples.filePath("track.gpx"), dir.filePath("track.gpx"));
    QFile ini(dir.filePath("pinroute.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Text))
        return 1;
    ini.write(QString("[Config]\nJPGDir=%1\nGPXPath=%2\nDate=1\nPosn=1\nDisplayType=1\nOffsetMinutes=0\nShowMap=1\n")
                  .arg(dir.filePath("photos"), dir.filePath("track.gpx")).toLocal8Bit());
    ini.close();
    QDir::setCurrent(dir.path());

    MainDialog dialog(dir.filePath("pinroute.ini").toStdString());
    dialog.resize(1180, 520);
    dialog.show();
    MapPanel* panel = dialog.findChild<MapSplitter*>()->Panel();
    if (!WaitFor([&] { return panel->PageReady(); }, 20000)) {
        std::fprintf(stderr, "the map did not load\n");
        return 1;
    }
    // Selected before the run: ringed once its marker comes, while the map fits them all.
    auto* list = dialog.findChild<QAbstractItemView*>("photoList");
    list->selectionModel()->select(list->model()->index(2, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    {
        QEventLoop loop;
        QObject::connect(&dialog, &MainDialog::RunFinished, &loop, &QEventLoop::quit);
        dialog.OnGeoTag();
        if (dialog.Running())
            loop.exec();
    }
    // The batches reach the page, then the tiles (when the network is there) come in.
    Pause(3000);
    const bool saved = dialog.grab().save(output, "PNG");
    for (const QString& problem : panel->PageProblems())
        std::fprintf(stderr, "page: %s\n", problem.toLocal8Bit().constData());
    dialog.hide();
    return saved ? 0 : 1;
}
