#pragma once
#include <functional>
#include <memory>
#include <string>

#include <QCoreApplication>

#include "common/ModulePath.h"

class HelpViewer;
class QHelpEngine;
class QWidget;

// Makes the help window over an engine that is set up, owned by owner (may be null).
using HelpViewerFactory =
    std::function<HelpViewer*(std::unique_ptr<QHelpEngine> engine, QWidget* owner)>;

// Opens the help file (a Qt help collection, ".qhc") at a page, in a maximised help
// viewer. Failures end in a message box.
class HelpLauncher {
    Q_DECLARE_TR_FUNCTIONS(HelpLauncher)

public:
    // helpPath: the collection; by default the running program's (beside it in a build
    // folder, in share/pinroute/ when installed). makeViewer: by default a HelpViewer.
    explicit HelpLauncher(std::string helpPath = HelpFilePath(),
                          HelpViewerFactory makeViewer = nullptr);
    virtual ~HelpLauncher() = default;

    // page: a file of the manual, "pinroute.html". Once a help file could not be set up,
    // later calls on that file fail at once with the same message, for the whole run.
    void ShowTopic(const std::string& page);

private:
    std::string helpPath;
    HelpViewerFactory makeViewer;
};

// Shown when opening the help failed unexpectedly: French for a French locale.
std::string HelpFallbackText();

// Where the manual's pages live inside the help file.
extern const char kHelpNamespace[];       // "org.pinroute.manual"
extern const char kHelpVirtualFolder[];   // "manual"
