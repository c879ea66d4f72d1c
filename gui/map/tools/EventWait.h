#pragma once
#include <functional>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QVariant>

// The map tools wait for WebEngine with the event loop running: QTest::qWaitFor's sleeps
// slow a page load tenfold.

// Runs the event loop for ms milliseconds.
inline void Pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() holds or ms pass; false on the time-out.
inline bool WaitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        Pause(20);
    }
    return true;
}

// What a script on the page (a QWebEnginePage, which not every tool includes) returns,
// waited for up to 5 s; an invalid value when none came.
template <typename Page>
QVariant PageValue(Page* page, const QString& script)
{
    QVariant value;
    bool answered = false;
    page->runJavaScript(script, [&](const QVariant& v) {
        value = v;
        answered = true;
    });
    WaitFor([&] { return answered; }, 5000);
    return value;
}
