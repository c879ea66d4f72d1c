#include <filesystem>
#include <functional>
#include <new>

#include <QApplication>
#include <QDialog>
#include <QLocale>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QTextBrowser>
#include <QTest>
#include <gtest/gtest.h>

#include "gui/HelpLauncher.h"
#include "gui/HelpViewer.h"
#include "common/Messages.h"
#include "support/TestSupport.h"

namespace {

std::vector<HelpViewer*> Viewers()
{
    std::vector<HelpViewer*> viewers;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<HelpViewer*>(w); viewer && viewer->isVisible())
            viewers.push_back(viewer);
    }
    return viewers;
}

// What the help window shows: its page (in the browser) and whether its navigation
// pane is out.
QUrl Page(const HelpViewer* viewer)
{
    return viewer->findChild<QTextBrowser*>("helpBrowser")->source();
}

QString PageText(const HelpViewer* viewer)
{
    return viewer->findChild<QTextBrowser*>("helpBrowser")->toPlainText();
}

bool NavigationShown(const HelpViewer* viewer)
{
    auto* contents = viewer->findChild<QHelpContentWidget*>("helpContents");
    return contents && !contents->isHidden();
}

// The help file that the build made, in folder.
void CopyBuiltHelp(const TempDir& folder)
{
    for (const char* name : {"pinroute.qhc", "pinroute.qch"})
        std::filesystem::copy_file(std::string(PINROUTE_HELP_DIR) + "/" + name,
                                   folder.File(name));
}

class HelpLauncherTest : public testing::Test {
protected:
    void TearDown() override
    {
        for (HelpViewer* viewer : Viewers())
            viewer->close();   // each deletes itself, with its engine
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QLocale::setDefault(locale);
    }
    void CopyBuiltHelp() { ::CopyBuiltHelp(dir); }
    // One "Help Error" box: a description, then on its own line the help file's path.
    void ExpectHelpError(const std::string& mentioning, const TempDir& beside)
    {
        ASSERT_EQ(1u, boxes.shown.size());
        const RecordingBoxes::Box& m = boxes.shown[0];
        EXPECT_EQ("Help Error", m.caption);
        EXPECT_EQ(MessageIcon::Error, m.icon);
        const std::string tail = "\n" + beside.File("pinroute.qhc");
        ASSERT_GT(m.text.size(), tail.size());
        EXPECT_EQ(tail, m.text.substr(m.text.size() - tail.size())) << m.text;
        EXPECT_NE(std::string::npos, m.text.find(mentioning)) << m.text;
        EXPECT_TRUE(Viewers().empty());
        boxes.shown.clear();
    }
    void ExpectHelpError(const std::string& mentioning) { ExpectHelpError(mentioning, dir); }

    // Each test has its own help file path: a failure that sticks to one path (for the
    // rest of the run) stays in its test.
    TempDir dir;
    RecordingBoxes boxes;
    QLocale locale;
    HelpLauncher launcher{dir.File("pinroute.qhc")};
};

TEST_F(HelpLauncherTest, OpensTheManualPageReadablyWithoutWritingTheHelpFile)
{
    CopyBuiltHelp();
    const size_t collection = std::hash<std::string>()(ReadFile(dir.File("pinroute.qhc")));
    launcher.ShowTopic("pinroute.html");

    EXPECT_TRUE(boxes.shown.empty());
    const auto viewers = Viewers();
    ASSERT_EQ(1u, viewers.size());
    HelpViewer* viewer = viewers[0];
    const QFontMetrics font(viewer->font());
    EXPECT_GE(viewer->width(), font.averageCharWidth() * 60);
    EXPECT_GE(viewer->height(), font.lineSpacing() * 25);
    EXPECT_EQ("qthelp", Page(viewer).scheme());
    EXPECT_EQ("pinroute.html", Page(viewer).fileName());
    EXPECT_FALSE(NavigationShown(viewer));
    const QString page = PageText(viewer);
    EXPECT_TRUE(page.contains("300 seconds")) << page.left(200).toStdString();
    EXPECT_TRUE(page.contains("log_update_jpg.txt"));

    // A second request replaces the first window rather than piling up windows, at the
    // size the user gave the first.
    const QSize chosen = viewer->size() + QSize(41, 23);
    viewer->resize(chosen);
    launcher.ShowTopic("pinroute.html");
    QApplication::processEvents();
    ASSERT_EQ(1u, Viewers().size());
    EXPECT_EQ(chosen, Viewers()[0]->size());
    EXPECT_EQ(collection, std::hash<std::string>()(ReadFile(dir.File("pinroute.qhc"))));
}

TEST_F(HelpLauncherTest, DamagedHelpFileIsAHelpError)
{
    struct {
        const char* name;
        void (*make)(const TempDir&);
        const char* mentioning;
    } cases[] = {
        {"not a help file", [](const TempDir& d) { WriteFile(d.File("pinroute.qhc"), "junk"); },
         "could not be read"},
        {"no manual beside it",
         [](const TempDir& d) {
             std::filesystem::copy_file(std::string(PINROUTE_HELP_DIR) + "/pinroute.qhc",
                                        d.File("pinroute.qhc"));
         },
         "pinroute.qch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir other;
        c.make(other);
        HelpLauncher(other.File("pinroute.qhc")).ShowTopic("pinroute.html");
        ExpectHelpError(c.mentioning, other);
    }
}

TEST_F(HelpLauncherTest, AfterTheHelpFileFailedLaterRequestsFailAtOnce)
{
    launcher.ShowTopic("pinroute.html");
    ExpectHelpError("could not be found");

    // The file turns up, but the failure stands for the rest of the run, also for a new
    // launcher on the same file.
    CopyBuiltHelp();
    launcher.ShowTopic("pinroute.html");
    ExpectHelpError("could not be found");
    HelpLauncher(dir.File("pinroute.qhc")).ShowTopic("pinroute.html");
    ExpectHelpError("could not be found");

    // Another help file is not held up by it.
    TempDir other;
    ::CopyBuiltHelp(other);
    HelpLauncher(other.File("pinroute.qhc")).ShowTopic("pinroute.html");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(1u, Viewers().size());
}

TEST_F(HelpLauncherTest, AnInstalledProgramFindsItsHelpInTheShareFolder)
{
    // prefix/bin/pinroute with prefix/share/pinroute/pinroute.qhc and its .qch.
    std::filesystem::create_directories(dir.Path() + "/bin");
    std::filesystem::create_directories(dir.Path() + "/share/pinroute");
    for (const char* name : {"pinroute.qhc", "pinroute.qch"})
        std::filesystem::copy_file(std::string(PINROUTE_HELP_DIR) + "/" + name,
                                   dir.File("share/pinroute/") + name);
    HelpLauncher(HelpFilePath(dir.File("bin/pinroute"))).ShowTopic("pinroute.html");
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(1u, Viewers().size());
    EXPECT_EQ("pinroute.html", Page(Viewers()[0]).fileName());
}

TEST_F(HelpLauncherTest, MissingPageIsAHelpErrorThatDoesNotStick)
{
    CopyBuiltHelp();
    launcher.ShowTopic("nowhere.html");
    ExpectHelpError("nowhere.html");
    launcher.ShowTopic("pinroute.html");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(1u, Viewers().size());
}

TEST_F(HelpLauncherTest, ViewerStaysOpenWhenTheDialogThatAskedForHelpCloses)
{
    CopyBuiltHelp();
    QDialog main;   // the main window and the Set-up dialog, both modal
    main.setWindowModality(Qt::ApplicationModal);
    main.show();
    auto* setup = new QDialog(&main);
    setup->setWindowModality(Qt::ApplicationModal);
    setup->show();
    ASSERT_EQ(setup, QApplication::activeModalWidget());
    launcher.ShowTopic("pinroute.html");
    ASSERT_EQ(1u, Viewers().size());
    HelpViewer* viewer = Viewers()[0];
    EXPECT_EQ(setup, viewer->parentWidget());   // not blocked by the Set-up dialog
    const QSize size = viewer->size();

    setup->reject();
    delete setup;
    ASSERT_EQ(1u, Viewers().size());
    EXPECT_EQ(viewer, Viewers()[0]);
    EXPECT_EQ(&main, viewer->parentWidget());
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(size, viewer->size());
    EXPECT_EQ("pinroute.html", Page(viewer).fileName());

    // With no window left below, the help closes with the last one.
    main.reject();
    EXPECT_TRUE(Viewers().empty());
}

TEST_F(HelpLauncherTest, UnexpectedFailureGivesTheFallBackInTheLocalesLanguage)
{
    const char* french = "N'a pas ouvert l'aide automatiquement, l'ouvrent svp manuellement";
    const char* english = "Failed to open the Help automatically, please open it manually";
    struct {
        QLocale locale;
        const char* text;
    } cases[] = {
        {QLocale(QLocale::French, QLocale::France), french},
        {QLocale(QLocale::French, QLocale::Canada), french},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), english},
        {QLocale(QLocale::German, QLocale::Germany), english},
    };
    CopyBuiltHelp();
    // The help window can't be made (no memory, say): the launcher must not let it out.
    HelpLauncher failing(dir.File("pinroute.qhc"),
                         [](std::unique_ptr<QHelpEngine>, QWidget*) -> HelpViewer* {
                             throw std::bad_alloc();
                         });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        QLocale::setDefault(c.locale);
        failing.ShowTopic("pinroute.html");
        ASSERT_EQ(1u, boxes.shown.size());
        EXPECT_EQ(c.text, boxes.shown[0].text);
        EXPECT_EQ("", boxes.shown[0].caption);
        EXPECT_EQ(MessageIcon::Information, boxes.shown[0].icon);
        EXPECT_TRUE(Viewers().empty());
        boxes.shown.clear();
    }
}

}  // namespace
