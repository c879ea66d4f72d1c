// Shows each first-hour mistake to the window as a new user makes it, and saves what the
// user then sees: the window, and the message box the command gives.
//   pinroute_first_hour_screenshots OUTPUT_FOLDER
#include <cstdio>
#include <string>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "common/Messages.h"
#include "gui/MainDialog.h"

namespace {

// Shows each box without waiting for a click, saves it beside the window's picture, and
// answers every question with yes.
class GrabbingBoxes : public MessageBoxes {
public:
    QString next;   // the file the next box goes to
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical
                            : icon == MessageIcon::Warning ? QMessageBox::Warning
                                                           : QMessageBox::Information,
                        caption.empty() ? "Pinroute" : QString::fromStdString(caption), QString::fromStdString(text));
        Save(box);
    }
    bool Ask(const std::string& text, const std::string& caption) override
    {
        QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                        QMessageBox::Yes | QMessageBox::No);
        Save(box);
        return false;
    }

private:
    void Save(QMessageBox& box)
    {
        box.show();
        QApplication::processEvents();
        box.grab().save(next, "PNG");
        std::printf("%s\n", next.toLocal8Bit().constData());
    }
};

void Write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: pinroute_first_hour_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir work;
    const QDir dir(work.path());
    dir.mkpath("card/DCIM/100CANON");
    dir.mkpath("photos");
    // A photo taken on 1 May, a track of 2 May; a GPX holding only a planned route.
    const QByteArray jpeg = QByteArray::fromBase64(
        "/9j/4AAQSkZJRgABAQEAYABgAAD/4QBIRXhpZgAASUkqAAgAAAABAGmHBAABAAAAGgAAAAAAAAABAAOQAgAUAAAALAAAAAAAAAAyMDA2OjA1OjAxIDEwOjAwOjAwAP/bAEMAAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQH/wAALCAABAAEBAREA/8QAFAABAAAAAAAAAAAAAAAAAAAACf/EABQQAQAAAAAAAAAAAAAAAAAAAAD/2gAIAQEAAD8AKp//2Q==");
    Write(dir.filePath("photos/IMG_0001.jpg"), jpeg);
    Write(dir.filePath("card/DCIM/100CANON/IMG_0001.JPG"), jpeg);
    Write(dir.filePath("may2.gpx"), "<gpx><trk><trkseg><trkpt lat=\"51.5\" lon=\"-0.1\"><time>2006-05-02T09:50:00Z"
                                    "</time></trkpt><trkpt lat=\"51.6\" lon=\"-0.1\"><time>2006-05-02T10:45:00Z</time>"
                                    "</trkpt></trkseg></trk></gpx>");
    Write(dir.filePath("route.gpx"), "<gpx><rte><rtept lat=\"51.5\" lon=\"-0.1\"/></rte></gpx>");
    // Started from the desktop: the current folder, which an empty JPGDir stands for, holds no photos.
    dir.mkpath("home");
    QDir::setCurrent(dir.filePath("home"));
    GrabbingBoxes boxes;
    SetMessageBoxes(&boxes);
    const struct {
        const char* name;
        QString settings;
    } cases[] = {
        {"first-start", ""},
        {"typo-folder", "JPGDir=" + dir.filePath("Photos2006") + "\n"},
        {"card", "JPGDir=" + dir.filePath("card") + "\n"},
        {"wrong-day", "JPGDir=" + dir.filePath("photos") + "\nGPXPath=" + dir.filePath("may2.gpx") + "\n"},
        {"route-only", "JPGDir=" + dir.filePath("photos") + "\nGPXPath=" + dir.filePath("route.gpx") + "\n"},
        {"not-a-track", "JPGDir=" + dir.filePath("photos") + "\nGPXPath=" + dir.filePath("photos/IMG_0001.jpg") + "\n"},
    };
    for (const auto& c : cases) {
        Write(dir.filePath("pinroute.ini"), ("[Config]\n" + c.settings).toLocal8Bit());
        MainDialog dialog(dir.filePath("pinroute.ini").toStdString());
        dialog.resize(700, 360);
        dialog.show();
        QApplication::processEvents();
        dialog.grab().save(out.filePath(QString(c.name) + "-window.png"), "PNG");
        boxes.next = out.filePath(QString(c.name) + "-box.png");
        QEventLoop loop;
        QObject::connect(&dialog, &MainDialog::RunFinished, &loop, &QEventLoop::quit);
        dialog.OnGeoTag();
        if (dialog.Running())
            loop.exec();
        QApplication::processEvents();
        dialog.hide();
    }
    SetMessageBoxes(nullptr);
    return 0;
}
