#include "gui/HelpLauncher.h"

#include <memory>
#include <stdexcept>

#include <QApplication>
#include <QFileInfo>
#include <QHelpEngine>
#include <QLocale>
#include <QUrl>

#include "gui/HelpViewer.h"
#include "common/Messages.h"
#include "common/ModulePath.h"

const char kHelpNamespace[] = "org.pinroute.manual";
const char kHelpVirtualFolder[] = "manual";

namespace {

// Once the help file could not be set up, later calls fail at once with its message.
bool engineFailed = false;
std::string engineFailure;
bool faultForTesting = false;

// The engine only reads the collection file: nothing is ever written beside the program.
bool SetUpEngine(QHelpEngine& engine, const std::string& helpPath, std::string& description)
{
    engine.setReadOnly(true);
    engine.setUsesFilterEngine(true);
    if (helpPath.empty()) {
        description = "The program's own path could not be found, so neither could its help file.";
        return false;
    }
    if (!QFileInfo(QString::fromStdString(helpPath)).isFile()) {
        description = "The help file could not be found.";
        return false;
    }
    if (!engine.setupData()) {
        description = engine.error().isEmpty() ? std::string("The help file could not be opened.")
                                                : engine.error().toStdString();
        return false;
    }
    if (!engine.registeredDocumentations().contains(kHelpNamespace)) {
        description = engine.error().isEmpty()
                          ? std::string("The help file could not be read: it holds no Pinroute manual.")
                          : engine.error().toStdString();
        return false;
    }
    const QString manual = engine.documentationFileName(kHelpNamespace);
    if (!QFileInfo(manual).isFile()) {
        description = "The manual that the help file names could not be found: " +
                      manual.toStdString();
        return false;
    }
    return true;
}

// False with a description when the page can't be shown.
bool OpenTopic(const std::string& helpPath, const std::string& page, std::string& description)
{
    if (engineFailed) {
        description = engineFailure;
        return false;
    }
    auto engine = std::make_unique<QHelpEngine>(QString::fromStdString(helpPath));
    if (!SetUpEngine(*engine, helpPath, description)) {
        engineFailed = true;
        engineFailure = description;
        return false;
    }
    const QUrl url(QString("qthelp://%1/%2/%3")
                       .arg(kHelpNamespace, kHelpVirtualFolder, QString::fromStdString(page)));
    if (engine->fileData(url).isEmpty()) {
        description = engine->error().isEmpty()
                          ? "The page \"" + page + "\" is not in the help file."
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
    auto* viewer = new HelpViewer(std::move(engine), QApplication::activeModalWidget());
    viewer->ShowPage(url);
    viewer->showMaximized();
    viewer->raise();
    viewer->activateWindow();
    return true;
}

}  // namespace

std::string HelpFallbackText()
{
    if (QLocale().language() == QLocale::French)
        return "N'a pas ouvert l'aide automatiquement, l'ouvrent svp manuellement";
    return "Failed to open the Help automatically, please open it manually";
}

void ResetHelpEngineForTesting()
{
    engineFailed = false;
    engineFailure.clear();
    faultForTesting = false;
}

void SetHelpFaultForTesting(bool fault)
{
    faultForTesting = fault;
}

void HelpLauncher::ShowTopic(const std::string& page)
{
    std::string helpPath;
    ModuleFilePath(".qhc", false, helpPath);   // empty when the program's path is unknown
    try {
        if (faultForTesting)
            throw std::runtime_error("help failure made by a test");
        std::string description;
        if (!OpenTopic(helpPath, page, description))
            ShowMessage(description + "\n" + helpPath, "Help Error", MessageIcon::Error);
    } catch (...) {
        ShowMessage(HelpFallbackText(), "", MessageIcon::Information);
    }
}
