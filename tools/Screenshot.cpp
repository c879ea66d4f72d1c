// Takes the README's screenshot: the main window over a copy of the example set (its
// photos folder may hold any photo kinds), after GeoTag and Parse.
//   pinroute_screenshot EXAMPLES_FOLDER OUTPUT.png
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QEventLoop>

#include "gui/MainDialog.h"
#include "common/ModulePath.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pinroute_screenshot EXAMPLES_FOLDER OUTPUT.png\n");
        return 2;
    }
    const QDir examples(QString::fromLocal8Bit(argv[1]));
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();

    // Work on a copy: GeoTag writes into the photos. The working files go there too.
    QTemporaryDir work;
    const QDir dir(work.path());
    dir.mkpath("photos");
    for (const QString& name : examples.entryList({"*.jpg"}, QDir::Files, QDir::Name))
        QFile::copy(examples.filePath(name), dir.filePath("photos/" + name));
    const QDir photos(examples.filePath("photos"));
    for (const QString& name : photos.entryList(QDir::Files, QDir::Name))
        QFile::copy(photos.filePath(name), dir.filePath("photos/" + name));
    QFile::copy(examples.filePath("track.gpx"), dir.filePath("track.gpx"));
    QFile ini(dir.filePath("pinroute.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Text))
        return 1;
    ini.write(QString("[Config]\nJPGDir=%1\nGPXPath=%2\nDate=1\nPosn=1\nDisplayType=1\nOffsetMinutes=0\n")
                  .arg(dir.filePath("photos"), dir.filePath("track.gpx")).toLocal8Bit());
    ini.close();
    QDir::setCurrent(dir.path());

    MainDialog dialog(dir.filePath("pinroute.ini").toStdString());
    dialog.show();
    QApplication::processEvents();
    // Each run goes on a worker thread; wait for it before the next.
    for (void (MainDialog::*command)() : {&MainDialog::OnGeoTag, &MainDialog::OnParse}) {
        QEventLoop loop;
        QObject::connect(&dialog, &MainDialog::RunFinished, &loop, &QEventLoop::quit);
        (dialog.*command)();
        if (dialog.Running())
            loop.exec();
    }
    QApplication::processEvents();
    const bool saved = dialog.grab().save(output, "PNG");
    dialog.hide();
    return saved ? 0 : 1;
}
