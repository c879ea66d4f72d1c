#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QLocale>
#include <QLoggingCategory>
#include <QScreen>

#include "common/ModulePath.h"
#include "settings/SettingsLocation.h"
#include "gui/Icons.h"
#include "gui/MainDialog.h"
#include "gui/QtMessageBoxes.h"
#include "gui/TerminationSignals.h"
#include "gui/Translations.h"

namespace {

// The map's web engine reports its graphics set-up (some twenty lines) and Chromium's own
// errors on every start; they mean nothing to a user. PINROUTE_DEBUG=1 keeps them.
void QuietWebEngine()
{
    if (qEnvironmentVariableIntValue("PINROUTE_DEBUG") != 0)
        return;
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--log-level"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --log-level=3").trimmed());
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false\n"
                                                    "qt.webenginecontext.debug=false"));
}

}  // namespace

int main(int argc, char* argv[])
{
    QuietWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Pinroute"));
    if (!LoadTranslations(app))
        std::fprintf(stderr, "pinroute: no translation for %s in %s\n", qPrintable(QLocale().name()),
                     qPrintable(TranslationsFolder()));
    app.setWindowIcon(AppIcon());
    QtMessageBoxes boxes;
    SetMessageBoxes(&boxes);
    {
        // Beside the program in a build folder or a portable copy, else ~/.config/pinroute/.
        MainDialog dialog(SettingsFilePath());
        // Files opened with the program (a file manager's "Open with") fill the list as a drop does.
        std::vector<std::string> files;
        const QStringList arguments = QApplication::arguments();
        for (int i = 1; i < arguments.size(); ++i)
            files.push_back(arguments[i].toStdString());
        dialog.OpenFiles(files);
        // Room for long paths and, where it is built in, the map beside the list.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect room = screen->availableGeometry();
            dialog.resize(std::max(dialog.width(), std::min(1100, room.width() * 9 / 10)),
                          std::max(dialog.height(), std::min(620, room.height() * 8 / 10)));
        }
        CloseOnTerminationSignals(&dialog);
        dialog.exec();
    }
    SetMessageBoxes(nullptr);
    return 0;
}
