#pragma once
#include <memory>

#include <QMainWindow>
#include <QPointer>
#include <QTextBrowser>

class QAction;
class QHelpContentWidget;
class QHelpEngine;

// A text browser that reads qthelp:// pages, style sheets and images from a help engine.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QHelpEngine* engine;
};

// The help window: the manual's contents as a navigation pane (collapsed at first) beside
// the page. It owns its engine and deletes itself when closed.
// A modal dialog blocks every window but its own: the viewer belongs to the window that
// asked for help (owner, may be null) so that it takes input meanwhile. When that window
// closes, the viewer passes to the window below it and stays open; with none below, it
// closes too.
class HelpViewer : public QMainWindow {
    Q_OBJECT
public:
    HelpViewer(std::unique_ptr<QHelpEngine> engine, QWidget* owner);
    ~HelpViewer() override;

    // The page shows in the browser "helpBrowser"; the navigation pane is "helpContents".
    void ShowPage(const QUrl& url);

    // The size the user left the window at last time, else about 90 characters by 40
    // lines; never more than the screen.
    QSize StartSize() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetNavigationShown(bool shown);
    void PassToNextOwner();

    std::unique_ptr<QHelpEngine> engine;
    QPointer<QHelpContentWidget> contents;
    HelpBrowser* browser = nullptr;
    QAction* contentsAction = nullptr;
};
