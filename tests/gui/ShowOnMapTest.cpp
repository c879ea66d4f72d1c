#include <csignal>

#include <QAction>
#include <QSignalSpy>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "gui/LinkEdit.h"
#include "gui/PhotoListView.h"
#include "gui/TerminationSignals.h"
#include "photos/PhotoList.h"
#include "coords/MapAddress.h"

namespace {

class RecordingOpener : public LinkOpener {
public:
    bool Open(const QString& address) override { opened.push_back(address); return works; }
    bool works = true;
    std::vector<QString> opened;
};

class ShowOnMapTest : public testing::Test {
protected:
    ShowOnMapTest() : view(list)
    {
        list.AddDroppedFiles({"/trips/parsed.jpg", "/trips/none.jpg", "/trips/tagged.jpg"});
        view.SetLinkOpener(&opener);
        view.resize(600, 200);
        view.SetupColumns();
        view.show();
        RowOutcome parsed;
        parsed.icon = RowIcon::Tick;
        parsed.text = "TQ 38891 77287";
        parsed.position = RowPosition{51.4775, -0.0014, false};
        list.SetRow(0, parsed);
        RowOutcome none;
        none.icon = RowIcon::Cross;
        none.text = "No EXIF data found";
        list.SetRow(1, none);
        RowOutcome tagged;
        tagged.icon = RowIcon::Tick;
        tagged.position = RowPosition{-33.856784, 151.215297, true};
        list.SetRow(2, tagged);
    }

    QPoint CellCentre(int row, int column) { return view.visualRect(view.model()->index(row, column)).center(); }

    // A double-click as the user makes it: the view opens only what the first press was on.
    void DoubleClick(int row, int column)
    {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(row, column));
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(row, column));
    }

    PhotoList list;
    PhotoListView view;
    RecordingOpener opener;
};

}  // namespace

TEST_F(ShowOnMapTest, DoubleClickOpensTheRowsPositionOnTheMap)
{
    DoubleClick(0, ColumnName);
    DoubleClick(1, ColumnMessage);
    DoubleClick(2, ColumnDate);
    ASSERT_EQ(2u, opener.opened.size());
    EXPECT_EQ("https://www.openstreetmap.org/?mlat=51.477500&mlon=-0.001400#map=17/51.477500/-0.001400",
              opener.opened[0]);
    EXPECT_EQ("https://www.openstreetmap.org/?mlat=-33.856784&mlon=151.215297#map=17/-33.856784/151.215297",
              opener.opened[1]);
    EXPECT_EQ("TQ 38891 77287", QString::fromStdString(list.Text(0, ColumnMessage)));   // cells unchanged

    // Without a browser the view says so, with the address, instead of doing nothing.
    opener.works = false;
    QSignalSpy failed(&view, &PhotoListView::MapNotShown);
    DoubleClick(0, ColumnName);
    ASSERT_EQ(1, failed.count());
    EXPECT_EQ(opener.opened.back(), failed.at(0).at(0).toString());
}

// SIGTERM closes the window as its Close button does, so its working folder goes with it.
TEST(TerminationSignals, CloseTheWindow)
{
    QWidget window;
    CloseOnTerminationSignals(&window);
    window.show();
    raise(SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 5000);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, SIG_DFL);
}

TEST_F(ShowOnMapTest, ContextMenuOffersTheMapOnlyForRowsWithAPosition)
{
    struct { int row; bool enabled; } cases[] = {{0, true}, {1, false}, {2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        QMenu* menu = view.RowMenu(c.row);
        auto* action = menu->findChild<QAction*>("showOnMapAction");
        ASSERT_NE(nullptr, action);
        EXPECT_EQ("Show on &map", action->text());
        EXPECT_EQ(c.enabled, action->isEnabled());
        opener.opened.clear();
        action->trigger();   // a disabled action does nothing
        EXPECT_EQ(c.enabled ? 1u : 0u, opener.opened.size());
        delete menu;
    }
}

TEST_F(ShowOnMapTest, TooltipShowsThePositionInBothForms)
{
    const QPoint at = CellCentre(0, ColumnName);
    QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &help);
    EXPECT_EQ("Position:\n51.477500 -0.001400\nTQ 38891 77287", QToolTip::text());
    QToolTip::hideText();
}
