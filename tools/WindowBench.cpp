// Watches the real window during a GeoTag run: how often the status line changes, and how
// long the run takes to end after Esc. Run by scripts/bench-window.sh on the offscreen
// platform: window_bench SETTINGS.ini SECONDS_BEFORE_ESC [undo]
// With "undo", a GeoTag run goes first, unwatched, and the watched run is Undo last run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <QEventLoop>

#include "common/Messages.h"
#include "gui/MainDialog.h"

namespace {

// Says yes to Undo's question, and nothing else is asked.
class YesBoxes : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string&, MessageIcon) override
    {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool Ask(const std::string&, const std::string&) override { return true; }
};

// Runs GeoTag in the window and waits for its end.
void GeoTagFirst(MainDialog& dialog)
{
    QEventLoop loop;
    QObject::connect(&dialog, &MainDialog::RunFinished, &loop, &QEventLoop::quit);
    dialog.OnGeoTag();
    loop.exec();
}

// What the status line did, in milliseconds from the run's start (escAt -1: no Esc).
void PrintOutcome(int changes, qint64 longestGap, qint64 escAt, qint64 endAt, const QString& status)
{
    std::printf("status line changes: %d, longest time without a change: %.1f s\n", changes,
                static_cast<double>(longestGap) / 1000);
    if (escAt >= 0)
        std::printf("Esc at %.1f s, run ended %.2f s later; status: %s\n", escAt / 1000.0,
                    (endAt - escAt) / 1000.0, status.toUtf8().constData());
    else
        std::printf("run ended at %.1f s; status: %s\n", endAt / 1000.0, status.toUtf8().constData());
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3 && !(argc == 4 && std::string(argv[3]) == "undo")) {
        std::fprintf(stderr, "usage: window_bench SETTINGS.ini SECONDS_BEFORE_ESC [undo]\n");
        return 2;
    }
    const bool undo = argc == 4;
    YesBoxes boxes;
    SetMessageBoxes(&boxes);
    const int escAfterMs = std::atoi(argv[2]) * 1000;
    MainDialog dialog(argv[1]);
    dialog.show();
    if (undo)
        GeoTagFirst(dialog);   // a run to undo
    auto* status = dialog.findChild<QLineEdit*>("statusLine");

    QElapsedTimer clock;
    QString lastText;
    qint64 lastChange = 0, longestGap = 0, escAt = -1, endAt = -1;
    int changes = 0;
    // Samples the status line ten times a second, as a user's eye would.
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (status->text() != lastText) {
            lastText = status->text();
            longestGap = qMax(longestGap, now - lastChange);
            lastChange = now;
            ++changes;
        }
        if (escAt < 0 && escAfterMs > 0 && now >= escAfterMs) {
            escAt = now;
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &esc);
        }
    });
    QObject::connect(&dialog, &MainDialog::RunFinished, [&] {
        endAt = clock.elapsed();
        app.quit();
    });
    clock.start();
    sampler.start(100);
    if (undo)
        dialog.OnUndoLastRun();
    else
        dialog.findChild<QPushButton*>("geotagButton")->click();
    app.exec();

    PrintOutcome(changes, longestGap, escAt, endAt, status->text());
    return 0;
}
