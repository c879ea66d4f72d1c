// Pictures of the clock help for the README: Set-up, the "From a photo of the GPS clock"
// dialog filled in for one of the example photos, and the offset suggestions.
//   pinroute_clock_screenshot EXAMPLES_FOLDER OUTPUT_FOLDER
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include "gui/ClockOffsetDialog.h"
#include "gui/SetupDialog.h"
#include "settings/Settings.h"

namespace {

// Answers the photo chooser with one fixed photo.
class FixedPicker : public PhotoPicker {
public:
    explicit FixedPicker(QString path) : path(std::move(path)) {}
    bool PickPhoto(QWidget*, const QString&, QString& chosen) override
    {
        chosen = path;
        return true;
    }

private:
    QString path;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pinroute_clock_screenshot EXAMPLES_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir examples(QString::fromLocal8Bit(argv[1]));
    const QDir output(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir work;

    Settings settings;
    settings.JPGDir = examples.filePath("photos").toStdString() + "/";
    settings.GPXPath = examples.filePath("track.gpx").toStdString();
    settings.OffsetMinutes = 0;
    SetupDialog setup(settings, QDir(work.path()).filePath("pinroute.ini").toStdString());
    setup.show();

    // The example walk's first photo (taken 08:04:10 by the camera) stands in for a photo of
    // the receiver's clock showing 07:03:58 UTC: a camera an hour and 12 s ahead.
    FixedPicker picker(examples.filePath("photos/IMG_2301.jpg"));
    ClockOffsetDialog clock(examples.filePath("photos"), &setup, &picker);
    clock.show();
    clock.OnPickPhoto();
    clock.findChild<QLineEdit*>("shownEdit")->setText("07:03:58");

    OffsetSuggestionsDialog suggestions(settings, &setup);
    suggestions.show();
    while (!suggestions.Finished())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();

    // Set-up with the clock dialog below it and the suggestions beside that.
    const QPixmap a = setup.grab(), b = clock.grab(), c = suggestions.grab();
    const int gap = 12;
    QPixmap sheet(qMax(a.width(), b.width() + gap + c.width()), a.height() + gap + qMax(b.height(), c.height()));
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.drawPixmap(0, 0, a);
    painter.drawPixmap(0, a.height() + gap, b);
    painter.drawPixmap(b.width() + gap, a.height() + gap, c);
    painter.end();
    return sheet.save(output.filePath("clock-help.png"), "PNG") ? 0 : 1;
}
