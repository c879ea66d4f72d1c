// Every control a keyboard can reach has a name a screen reader can say.
#include <QAccessible>
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "gui/AboutDialog.h"
#include "gui/ClockOffsetDialog.h"
#include "gui/MainDialog.h"
#include "gui/SetupDialog.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

namespace {

// The focusable controls of window that a screen reader would announce without a name.
std::vector<std::string> Unnamed(QWidget& window)
{
    std::vector<std::string> unnamed;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(&window) || w->focusProxy())
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.push_back(w->metaObject()->className() + std::string(" ") + w->objectName().toStdString());
    }
    return unnamed;
}

TEST(Accessibility, EveryFocusableControlHasAName)
{
    TempDir dir;
    const std::string ini = dir.File("pinroute.ini");
    WriteFile(ini, "[Config]\nJPGDir=" + dir.Path() + "/\nShowMap=0\n");
    Settings settings;
    settings.Read(ini);

    MainDialog main(ini);
    SetupDialog setup(settings, ini);
    AboutDialog about;
    ClockOffsetDialog clock(QString::fromStdString(dir.Path() + "/"));
    for (QWidget* window : std::initializer_list<QWidget*>{&main, &setup, &about, &clock}) {
        window->show();
        SCOPED_TRACE(window->metaObject()->className());
        for (const std::string& control : Unnamed(*window))
            ADD_FAILURE() << "no accessible name: " << control;
        window->hide();
    }
}

}  // namespace
