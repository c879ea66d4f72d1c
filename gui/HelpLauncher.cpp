#include "gui/HelpLauncher.h"

#include <map>
#include <memory>
#include <utility>

#include <QApplication>
#include <QFileInfo>
#include <QHelpEngine>
#include <QLocale>
#include <QUrl>

#include "gui/HelpViewer.h"
#include "common/Messages.h"

const char kHelpNamespace[] = "org.pinroute.manual";
const char kHelpVirtualFolder[] = "manual";

namespace {

// The help files that could not be set up, with their messages: later calls on one of
// them fail at once.
std::map<std::string, std::string>& FailedHelpFiles()
{
    static std::map<std::string, std::string> failed;
    return failed;
}

// The engine only reads the collection file: nothing is ever written beside the program.
bool SetUpEngine(QHelpEngine& engine, const std::string& helpPath, std::string& description)
{
    engine.setReadOnly(true);
    engine.setUsesFilterEngine(true);
    if (helpPath.empty()) {
        description = HelpLauncher::tr("The program's own path could not be found, so neither could its help file.").toStdString();
        return false;
    }
    if (!QFileInfo(QString::fromStdString(helpPath)).isFile()) {
        description = HelpLauncher::tr("The help file could not be found.").toStdString();
        return false;
    }
    if (!engine.setupData()) {
        description = engine.error().isEmpty() ? HelpLauncher::tr("The help file could not be opened.").toStdString()
                                                : engine.error().toStdString();
        return false;
    }
    if (!engine.registeredDocumentations().contains(QLatin1String(kHelpNamespace))) {
        description = engine.error().isEmpty()
                          ? HelpLauncher::tr("The help file could not be read: it holds no Pinroute manual.").toStdString()
                          : engine.error().toStdString();
        return false;
    }
    const QString manual = engine.documentationFileName(QLatin1String(kHelpNamespace));
    if (!QFileInfo(manual).isFile()) {
        description = HelpLauncher::tr("The manual that the help file names could not be found: %1").arg(manual).toStdString();
        return false;
    }
    return true;
}

// False with a description when the page can't be shown.
bool OpenTopic(const std::string& helpPath, const std::string& page,
               const HelpViewerFactory& makeViewer, std::string& description)
{
    const auto failed = FailedHelpFiles().find(helpPath);
    if (failed != FailedHelpFiles().end()) {
        description = failed->second;
        return false;
    }
    auto engine = std::make_unique<QHelpEngine>(QString::fromStdString(helpPath));
    if (!SetUpEngine(*engine, helpPath, description)) {
        FailedHelpFiles()[helpPath] = description;
        return false;
    }
    const QUrl url(QStringLiteral("qthelp://%1/%2/%3")
                       .arg(QLatin1String(kHelpNamespace), QLatin1String(kHelpVirtualFolder), QString::fromStdString(page)));
    if (engine->fileData(url).isEmpty()) {
        description = engine->error().isEmpty()
                          ? HelpLauncher::tr("The page \"%1\" is not in the help file.").arg(QString::fromStdString(page)).toStdString()
                          : engine->error().toStdString();
        return false;
    }

    // One help window at a time: a new request replaces the one shown before.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* old = qobject_cast<HelpViewer*>(widget))
            old->close();
    }
    // A window that belongs to no modal dialog would be blocked by it: the viewer
    // belongs to the dialog that asked for help (the Set-up dialog), when there is one,
    // and stays open when that dialog closes.
    HelpViewer* viewer = makeViewer(std::move(engine), QApplication::activeModalWidget());
    viewer->ShowPage(url);
    viewer->resize(viewer->StartSize());
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return true;
}

}  // namespace

std::string HelpFallbackText()
{
    if (QLocale().language() == QLocale::French)
        return "N'a pas ouvert l'aide automatiquement, l'ouvrent svp manuellement";
    return HelpLauncher::tr("Failed to open the Help automatically, please open it manually").toStdString();
}

HelpLauncher::HelpLauncher(std::string helpPath, HelpViewerFactory makeViewer)
    : helpPath(std::move(helpPath)), makeViewer(std::move(makeViewer))
{
    if (!this->makeViewer) {
        this->makeViewer = [](std::unique_ptr<QHelpEngine> engine, QWidget* owner) {
            return new HelpViewer(std::move(engine), owner);
        };
    }
}

void HelpLauncher::ShowTopic(const std::string& page)
{
    try {
        std::string description;
        if (!OpenTopic(helpPath, page, makeViewer, description))
            ShowMessage(description + "\n" + helpPath, tr("Help Error").toStdString(), MessageIcon::Error);
    } catch (...) {
        ShowMessage(HelpFallbackText(), "", MessageIcon::Information);
    }
}
