// The map beside the photo list, in a real web page (offscreen). Page loads are slow, so
// most cases share one map; each sets the list and the settings it needs.
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "gui/MainDialog.h"
#include "gui/PhotoListView.h"
#include "gui/map/MapData.h"
#include "gui/map/MapNotices.h"
#include "gui/map/MapPanel.h"
#include "gui/map/MapSplitter.h"
#include "gui/map/PlaceSearch.h"
#include "gui/map/RowDrag.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "support/Tracks.h"

namespace {

// Runs the event loop until done() holds or ms pass. Never QTest::qWaitFor: its sleeps
// slow WebEngine down about tenfold.
bool WaitFor(const std::function<bool()>& done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

QVariant Js(MapPanel* panel, const QString& code)
{
    auto result = std::make_shared<std::pair<bool, QVariant>>();
    panel->Page()->runJavaScript(code, [result](const QVariant& v) { *result = {true, v}; });
    WaitFor([&] { return result->first; }, 5000);
    return result->second;
}

QVariantMap State(MapPanel* panel)
{
    return Js(panel, "pinrouteState()").toMap();
}

// A time count of 2023-06-17 at the time given.
int64_t June17(int hour, int minute, int second = 0)
{
    struct tm t = {};
    t.tm_year = 123;
    t.tm_mon = 5;
    t.tm_mday = 17;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return timegm(&t);
}

// A GPX file of two segments, points a minute apart: 08:00-08:10 and 08:20-08:30.
std::string TwoSegmentGpx()
{
    std::string text = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><trk>";
    for (int start : {0, 20}) {
        text += "<trkseg>";
        for (int m = start; m <= start + 10; ++m)
            text += "<trkpt lat=\"" + std::to_string(54.4 + 0.001 * m) + "\" lon=\"-3.0\"><time>"
                + GpxTimeText(June17(8, m)) + "</time></trkpt>";
        text += "</trkseg>";
    }
    return text + "</trk></gpx>\n";
}

RowOutcome ReadAt(double latitude, double longitude)
{
    RowOutcome outcome(RowKind::Parsed);
    outcome.position = RowPosition{latitude, longitude, false};
    return outcome;
}

// A photo's GPS latitude or longitude as exiv2 reads it back, signed by its reference.
double StoredDegrees(const std::string& photo, const std::string& axis)
{
    std::string value, ref;
    RunExiv2({"-Pv", "-K", "Exif.GPSInfo.GPS" + axis, photo}, &value);
    RunExiv2({"-Pv", "-K", "Exif.GPSInfo.GPS" + axis + "Ref", photo}, &ref);
    double d = 0, dd = 1, m = 0, md = 1, s = 0, sd = 1;
    if (std::sscanf(value.c_str(), "%lf/%lf %lf/%lf %lf/%lf", &d, &dd, &m, &md, &s, &sd) != 6)
        return NAN;
    const double degrees = d / dd + m / md / 60 + s / sd / 3600;
    return ref.find_first_of("SW") != std::string::npos ? -degrees : degrees;
}

// The position a question names: "... at 54.459000 -3.001000 ...".
std::pair<double, double> AskedPosition(const std::string& question)
{
    double latitude = NAN, longitude = NAN;
    const size_t at = question.find("\nat ");
    if (at != std::string::npos)
        std::sscanf(question.c_str() + at + 4, "%lf %lf", &latitude, &longitude);
    return {latitude, longitude};
}

// One map beside a list, shown, for the cases that need no window around it.
struct SharedMap {
    TempDir dir;
    std::string ini = dir.File("pinroute.ini");
    PhotoList photos;
    QWidget host;
    PhotoListView* list = nullptr;
    MapPanel* panel = nullptr;
    bool busy = false;
    Workspace workspace;

    SharedMap()
    {
        WriteFile(ini, "[Config]\nMapTiles=\n");
        list = new PhotoListView(photos, &host);
        panel = new MapPanel(photos, list, ini, MapHooks{[this] { return &workspace; }, [this] { return busy; }}, &host);
        auto* layout = new QHBoxLayout(&host);
        layout->addWidget(list);
        layout->addWidget(panel, 1);
        host.resize(1000, 600);
        host.show();
        WaitFor([this] { return panel->PageReady(); }, 30000);
    }

    // Fills the list with the files, each at its place (NaN: no position), and waits for the map.
    void Show(const std::vector<std::string>& paths, const std::vector<std::pair<double, double>>& places)
    {
        photos.AddDroppedFiles(paths);
        int expected = 0;
        for (size_t i = 0; i < places.size(); ++i) {
            if (std::isnan(places[i].first))
                continue;
            photos.SetRow(static_cast<int>(i), ReadAt(places[i].first, places[i].second));
            ++expected;
        }
        WaitFor([&] { return State(panel).value("markers").toInt() == expected; });
    }
    void Select(std::vector<int> rows)
    {
        list->selectionModel()->clearSelection();
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::vector<int> Selected() const
    {
        std::vector<int> rows;
        for (const QModelIndex& index : list->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

std::unique_ptr<SharedMap> shared;

SharedMap& Map()
{
    if (!shared)
        shared = std::make_unique<SharedMap>();
    return *shared;
}

// Writes real photos taken at the times given into the shared map's folder.
std::vector<std::string> TakenPhotos(const std::vector<std::string>& names, const std::vector<std::string>& times)
{
    std::vector<std::string> paths;
    for (size_t i = 0; i < names.size(); ++i) {
        paths.push_back(Map().dir.File(names[i]));
        WriteJpegTakenAt(paths.back(), times[i]);
    }
    return paths;
}

TEST(MapData, MarkerColourFollowsTheRow)
{
    struct Case {
        RowIcon icon;
        bool hasPosition, written;
        char kind;
    } cases[] = {
        {RowIcon::Tick, true, true, 'w'},     // written by GeoTag or by hand
        {RowIcon::Tick, true, false, 'r'},    // read by Parse, or before a run
        {RowIcon::Blank, true, false, 'r'},
        {RowIcon::Cross, true, true, 'f'},    // written, but the write is in doubt
        {RowIcon::Cross, false, false, 0},    // rejected, or no position at all
        {RowIcon::Blank, false, false, 0},
    };
    for (const Case& c : cases) {
        PhotoRow row;
        row.icon = c.icon;
        if (c.hasPosition)
            row.position = RowPosition{54.4, -3.0, c.written};
        EXPECT_EQ(c.kind, MarkerKind(row)) << static_cast<int>(c.icon) << c.hasPosition << c.written;
    }
}

TEST(MapData, LinesFollowSegmentsAndThinKeepingTheEnds)
{
    Track track;
    for (int i = 0; i < 10; ++i)
        track.push_back(TrackPoint{100 + i, 0, 0, 54 + i * 0.01, -3, ""});
    for (int i = 0; i < 5; ++i)
        track.push_back(TrackPoint{200 + i, 0, 1, 55 + i * 0.01, -3, ""});
    track.push_back(TrackPoint{300, 0, -1, 56, -3, ""});   // a waypoint: no line

    const TrackLines all = LinesOf(track, 0);
    ASSERT_EQ(2u, all.segments.size());
    EXPECT_EQ(10u, all.segments[0].size());
    EXPECT_EQ(5u, all.segments[1].size());
    EXPECT_EQ(204, all.segments[1].back().time);

    const TrackLines thin = LinesOf(track, 5);   // every third point, and each segment's last
    ASSERT_EQ(2u, thin.segments.size());
    std::vector<int64_t> times;
    for (const auto& segment : thin.segments)
        for (const LinePoint& p : segment)
            times.push_back(p.time);
    EXPECT_EQ((std::vector<int64_t>{100, 103, 106, 109, 200, 203, 204}), times);
}

TEST(MapData, DraggedRowsComeOnlyFromThisProcess)
{
    QMimeData mine;
    mine.setData(kRowsMimeType, EncodeRows({2, 5, 9}));
    EXPECT_EQ((std::vector<int>{2, 5, 9}), DraggedRows(&mine));
    QMimeData other;
    other.setData(kRowsMimeType, "1\n2,5");   // another process's rows
    EXPECT_TRUE(DraggedRows(&other).empty());
    QMimeData files;
    files.setText("/photos/a.jpg");
    EXPECT_TRUE(DraggedRows(&files).empty());
}

// The town search offers the data's matches by name and tells where the one chosen lies.
TEST(PlaceSearch, OffersTownsByNameAndTellsWhereTheChosenOneLies)
{
    PlaceSearch search("en");
    std::vector<std::pair<double, double>> chosen;
    QObject::connect(&search, &PlaceSearch::PlaceChosen,
                     [&](double latitude, double longitude, const QString&) { chosen.emplace_back(latitude, longitude); });
    QTest::keyClicks(&search, "Kendal");
    QTest::keyClick(&search, Qt::Key_Return);
    EXPECT_TRUE(search.Offered().contains("Kendal, England, United Kingdom")) << search.Offered().join("; ").toStdString();
    chosen.clear();
    ASSERT_TRUE(search.Choose("Kendal, England, United Kingdom"));
    ASSERT_EQ(1u, chosen.size());
    EXPECT_NEAR(54.327, chosen[0].first, 0.01);
    EXPECT_NEAR(-2.748, chosen[0].second, 0.01);
    EXPECT_FALSE(search.Choose("Atlantis"));
}

TEST(MapWindow, TheMapSharesTheWindowWhenThereIsRoomAndCtrlMTogglesIt)
{
    TempDir dir;
    const std::string ini = dir.File("pinroute.ini");
    mkdir(dir.File("photos").c_str(), 0755);
    WriteFile(dir.File("photos/a.jpg"), "x");
    WriteFile(dir.File("photos/b.jpg"), "x");
    WriteFile(ini, "[Config]\nJPGDir=" + dir.File("photos") + "\nMapTiles=\n");
    MainDialog dialog(ini);
    dialog.show();
    auto* splitter = dialog.findChild<MapSplitter*>();
    ASSERT_NE(nullptr, splitter);
    auto* list = dialog.findChild<PhotoListView*>("photoList");
    EXPECT_FALSE(splitter->MapShown());   // the window as it opens: the list needs all of it
    EXPECT_TRUE(splitter->MapWanted());

    dialog.resize(1300, 500);
    EXPECT_TRUE(splitter->MapShown());
    EXPECT_GE(splitter->Panel()->width(), MapSplitter::kMapLeast);
    EXPECT_GT(list->width() + splitter->Panel()->width(), 1100);
    EXPECT_TRUE(WaitFor([&] { return splitter->Panel()->PageReady(); }, 30000));

    QShortcut* ctrlM = nullptr;
    for (QShortcut* shortcut : dialog.findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_M))
            ctrlM = shortcut;
    ASSERT_NE(nullptr, ctrlM);
    auto pressCtrlM = [&] { emit ctrlM->activated(); };
    pressCtrlM();
    EXPECT_FALSE(splitter->MapShown());
    EXPECT_EQ(splitter->width() - splitter->handleWidth(), list->width());
    EXPECT_NE(std::string::npos, ReadFile(ini).find("ShowMap=0\n"));
    pressCtrlM();
    EXPECT_TRUE(splitter->MapShown());
    EXPECT_NE(std::string::npos, ReadFile(ini).find("ShowMap=1\n"));

    // With the map there, rows of the selection can be dragged onto it; a plain click on
    // one of them still selects it alone.
    list->selectAll();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(list->model()->index(1, ColumnName)).center());
    EXPECT_EQ(1, list->selectionModel()->selectedRows().size());
    EXPECT_TRUE(list->selectionModel()->isRowSelected(1, QModelIndex()));

    // Hidden by the user, it stays hidden however wide the next window.
    WriteFile(ini, "[Config]\nMapTiles=\nShowMap=0\n");
    MainDialog next(ini);
    next.show();
    next.resize(1300, 500);
    EXPECT_FALSE(next.findChild<MapSplitter*>()->MapShown());
}

TEST(MapWindow, ARunsPhotosAppearAsMarkersBesideTheTrackLines)
{
    TempDir dir;
    const std::string ini = dir.File("pinroute.ini");
    WriteFile(dir.File("walk.gpx"), TwoSegmentGpx());
    mkdir(dir.File("photos").c_str(), 0755);
    WriteJpegTakenAt(dir.File("photos/a.jpg"), "2023:06:17 08:04:10");
    WriteJpegTakenAt(dir.File("photos/b.jpg"), "2023:06:17 08:25:00");
    WriteJpegTakenAt(dir.File("photos/c.jpg"), "2023:06:17 11:30:00");   // far from the track
    WriteFile(ini, "[Config]\nJPGDir=" + dir.File("photos") + "\nGPXPath=" + dir.File("walk.gpx")
                       + "\nOffsetMinutes=0\nMapTiles=\n");
    MainDialog dialog(ini);
    dialog.resize(1300, 500);
    dialog.show();
    MapPanel* panel = dialog.findChild<MapSplitter*>()->Panel();
    ASSERT_TRUE(WaitFor([&] { return panel->PageReady(); }, 30000));
    ASSERT_TRUE(WaitFor([&] { return State(panel).value("lines").toInt() == 2; }));
    EXPECT_EQ(22, State(panel).value("points").toInt());
    EXPECT_EQ(0, State(panel).value("markers").toInt());

    bool finished = false;
    QObject::connect(&dialog, &MainDialog::RunFinished, [&] { finished = true; });
    dialog.findChild<QPushButton*>("geotagButton")->click();
    ASSERT_TRUE(WaitFor([&] { return finished; }, 60000));
    ASSERT_TRUE(WaitFor([&] { return State(panel).value("written").toInt() == 2; }));
    const QVariantMap state = State(panel);
    EXPECT_EQ(2, state.value("markers").toInt());   // the rejected photo has none
    EXPECT_EQ(0, state.value("read").toInt());
    EXPECT_TRUE(panel->PageProblems().isEmpty()) << panel->PageProblems().join("\n").toStdString();
}

TEST(SharedMapTest, SelectionGoesBothWays)
{
    SharedMap& map = Map();
    map.Show({"/trip/a.jpg", "/trip/b.jpg", "/trip/c.jpg", "/trip/d.jpg"},
             {{54.40, -3.00}, {54.45, -3.05}, {NAN, NAN}, {54.50, -3.10}});

    map.Select({1});
    ASSERT_TRUE(WaitFor([&] { return State(map.panel).value("selected").toList() == QVariantList{1}; }));
    // Brought into view: the map comes to rest on it.
    EXPECT_TRUE(WaitFor([&] {
        const QVariantList centre = State(map.panel).value("centre").toList();
        return std::fabs(centre.value(0).toDouble() - 54.45) < 1e-3 && std::fabs(centre.value(1).toDouble() + 3.05) < 1e-3;
    }));
    map.Select({0, 2, 3});   // a row without a position is selected all the same
    EXPECT_TRUE(WaitFor([&] { return State(map.panel).value("selected").toList() == QVariantList{0, 2, 3}; }));

    // A marker clicked selects its row alone; with Ctrl, its row joins the selection.
    const QString click = "(function (row, ctrl) {"
                          "  const e = document.querySelector('.photo[data-row=\"' + row + '\"]');"
                          "  if (!e) return false;"
                          "  e.dispatchEvent(new MouseEvent('click', {bubbles: true, ctrlKey: ctrl}));"
                          "  return true; })(%1, %2)";
    ASSERT_TRUE(WaitFor([&] { return Js(map.panel, click.arg(3).arg("false")).toBool(); }));
    ASSERT_TRUE(WaitFor([&] { return map.Selected() == std::vector<int>{3}; }));
    ASSERT_TRUE(Js(map.panel, click.arg(0).arg("true")).toBool());
    EXPECT_TRUE(WaitFor([&] { return map.Selected() == std::vector<int>{0, 3}; }));
    EXPECT_TRUE(WaitFor([&] { return State(map.panel).value("selected").toList() == QVariantList{0, 3}; }));
}

TEST(SharedMapTest, AMarkerDraggedIsWrittenOnceTheUserAgrees)
{
    SharedMap& map = Map();
    const auto paths = TakenPhotos({"drag.jpg"}, {"2023:06:17 08:04:10"});
    map.Show(paths, {{54.40, -3.00}});
    RecordingBoxes boxes;
    // Pressed, moved in steps, let go: the page's own drag of the marker.
    const QString drag = "(function () {"
                         "  const e = document.querySelector('.photo[data-row=\"0\"]');"
                         "  if (!e) return false;"
                         "  const r = e.getBoundingClientRect(), x = r.left + r.width / 2, y = r.top + r.height / 2;"
                         "  const at = (type, dx, target) => target.dispatchEvent(new MouseEvent(type,"
                         "      {bubbles: true, clientX: x + dx, clientY: y + dx, button: 0, buttons: 1}));"
                         "  at('mousedown', 0, e);"
                         // Leaflet moves the marker between frames: each step waits for one.
                         "  let d = 0;"
                         "  const step = () => {"
                         "    d += 10;"
                         "    at('mousemove', d, e);"
                         "    setTimeout(d < 60 ? step : () => at('mouseup', 60, e), 40);"
                         "  };"
                         "  setTimeout(step, 40);"
                         "  return true; })()";
    ASSERT_TRUE(WaitFor([&] { return Js(map.panel, drag).toBool(); }));
    ASSERT_TRUE(WaitFor([&] { return boxes.asked.size() == 1; }));
    EXPECT_NE(std::string::npos, boxes.asked[0].text.find("drag.jpg")) << boxes.asked[0].text;
    const auto [latitude, longitude] = AskedPosition(boxes.asked[0].text);
    EXPECT_LT(latitude, 54.40);    // dragged down
    EXPECT_GT(longitude, -3.00);   // and to the right
    // Written as GeoTag writes: the classic form, hundredths of a minute.
    EXPECT_NEAR(latitude, StoredDegrees(paths[0], "Latitude"), 1.0 / 6000);
    EXPECT_NEAR(longitude, StoredDegrees(paths[0], "Longitude"), 1.0 / 6000);
    EXPECT_TRUE(map.photos.Row(0).position->written);
    EXPECT_NE(std::string::npos, map.photos.Tip(0).find("placed by hand"));
    EXPECT_TRUE(WaitFor([&] { return State(map.panel).value("written").toInt() == 1; }));
}

TEST(SharedMapTest, RowsDroppedOnTheMapArePlacedThereAfterTheQuestion)
{
    SharedMap& map = Map();
    const auto paths = TakenPhotos({"one.jpg", "two.jpg", "three.jpg"},
                                   {"2023:06:17 08:04:10", "2023:06:17 08:05:10", "2023:06:17 08:06:10"});
    map.Show(paths, {{54.40, -3.00}, {NAN, NAN}, {NAN, NAN}});
    QWidget* target = map.panel->findChild<QWebEngineView*>()->focusProxy();
    ASSERT_NE(nullptr, target);
    auto drop = [&](std::vector<int> rows) {
        QMimeData mime;
        mime.setData(kRowsMimeType, EncodeRows(rows));
        // As a drag arrives: it enters, then drops.
        QDragEnterEvent enter(QPoint(200, 150), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent event(QPointF(200, 150), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
        return enter.isAccepted() && event.isAccepted();
    };

    RecordingBoxes boxes;
    boxes.answer = false;
    ASSERT_TRUE(drop({1, 2}));
    ASSERT_TRUE(WaitFor([&] { return boxes.asked.size() == 1; }));
    EXPECT_NE(std::string::npos, boxes.asked[0].text.find("two.jpg\nthree.jpg")) << boxes.asked[0].text;
    EXPECT_TRUE(std::isnan(StoredDegrees(paths[1], "Latitude")));   // declined: nothing written

    map.busy = true;   // a run is writing the photos: the map takes no rows
    EXPECT_FALSE(drop({1}));
    map.busy = false;

    boxes.answer = true;
    ASSERT_TRUE(drop({1, 2}));
    ASSERT_TRUE(WaitFor([&] { return boxes.asked.size() == 2; }));
    const auto [latitude, longitude] = AskedPosition(boxes.asked[1].text);
    for (int row : {1, 2}) {
        EXPECT_NEAR(latitude, StoredDegrees(paths[static_cast<size_t>(row)], "Latitude"), 1.0 / 6000);
        EXPECT_NEAR(longitude, StoredDegrees(paths[static_cast<size_t>(row)], "Longitude"), 1.0 / 6000);
    }
    EXPECT_TRUE(std::isnan(StoredDegrees(paths[0], "Latitude")));   // not dropped
    EXPECT_TRUE(WaitFor([&] { return State(map.panel).value("markers").toInt() == 3; }));
}

TEST(SharedMapTest, ATrackPointClickedGivesTheOffsetToSave)
{
    SharedMap& map = Map();
    WriteFile(map.dir.File("walk.gpx"), TwoSegmentGpx());
    WriteFile(map.ini, "[Config]\nGPXPath=" + map.dir.File("walk.gpx") + "\nOffsetMinutes=5\nMapTiles=\n");
    // The camera clock runs 58 min 20 s ahead: taken at 08:04 by the track.
    const auto paths = TakenPhotos({"clock.jpg"}, {"2023:06:17 09:02:20"});
    map.Show(paths, {{NAN, NAN}});
    ASSERT_TRUE(WaitFor([&] { return State(map.panel).value("points").toInt() == 22; }));
    map.Select({0});
    RecordingBoxes boxes;
    const QString clickPoint = "(function () {"
                               "  const [x, y] = pinroutePointAt(0, 4);"
                               "  const at = document.elementFromPoint(x, y);"
                               "  at.dispatchEvent(new MouseEvent('click', {bubbles: true, clientX: x, clientY: y}));"
                               "  const button = document.querySelector('.taken-here button');"
                               "  if (!button) return false;"
                               "  button.click();"
                               "  return true; })()";
    ASSERT_TRUE(WaitFor([&] { return Js(map.panel, clickPoint).toBool(); }));
    ASSERT_TRUE(WaitFor([&] { return boxes.asked.size() == 1; }));
    const std::string& question = boxes.asked[0].text;
    EXPECT_NE(std::string::npos, question.find("Offset: +58:20 (min:s)")) << question;
    EXPECT_NE(std::string::npos, question.find("08:04:00 UTC")) << question;
    Settings saved;
    saved.Read(map.ini);
    EXPECT_EQ(3500, saved.Offset());   // to the second
    EXPECT_EQ(58, saved.OffsetMinutes);
}

// A tile server of the test's own: it answers every request with 404 and keeps its lines.
class FakeTileServer : public QTcpServer {
public:
    FakeTileServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    QByteArray& text = pending[socket];
                    text += socket->readAll();
                    if (!text.contains("\r\n\r\n"))
                        return;
                    requests.push_back(QString::fromLatin1(text.left(text.indexOf("\r\n\r\n"))));
                    socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                    socket->disconnectFromHost();
                });
            }
        });
    }
    std::vector<QString> requests;   // the request line and headers of each

private:
    std::map<QTcpSocket*, QByteArray> pending;
};

QString Header(const QString& request, const QString& name)
{
    const QRegularExpression line("^" + name + ": (.*)$",
                                  QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    return line.match(request).captured(1).trimmed();
}

TEST(SharedMapTest, TilesAloneLeaveThePageWithTheProgramsNameAndAnOrigin)
{
    SharedMap& map = Map();
    FakeTileServer server;
    ASSERT_TRUE(server.isListening());
    const std::string tiles = "http://127.0.0.1:" + std::to_string(server.serverPort()) + "/{z}/{x}/{y}.png";
    WriteFile(map.ini, "[Config]\nMapTiles=" + tiles + "\n");
    map.Show({"/trip/a.jpg"}, {{54.4, -3.0}});
    ASSERT_TRUE(WaitFor([&] { return !server.requests.empty(); }));
    const QString first = server.requests.front();
    EXPECT_EQ("Pinroute/1.00.0.19 (+https://pinroute.org)", Header(first, "User-Agent"));
    EXPECT_EQ("https://pinroute.org/", Header(first, "Referer"));

    // Nothing else leaves the page: not a script, nor a fetch.
    const QString port = QString::number(server.serverPort());
    Js(map.panel, "fetch('http://127.0.0.1:" + port + "/data.json').catch(() => 0);"
                  "const s = document.createElement('script'); s.src = 'http://127.0.0.1:" + port + "/evil.js';"
                  "document.head.appendChild(s); 0");
    WaitFor([] { return false; }, 500);
    for (const QString& request : server.requests)
        EXPECT_TRUE(QRegularExpression("^GET /\\d+/\\d+/\\d+\\.png ").match(request).hasMatch())
            << request.toStdString();

    // Every tile failed, yet the map says so in one line; and it said, once, where tiles come from.
    ASSERT_TRUE(WaitFor([&] { return State(map.panel).value("notices").toStringList().contains("tiles-failed"); }));
    EXPECT_EQ(1, Js(map.panel, "document.querySelectorAll('.notice').length - "
                               "document.querySelectorAll('#tiles-privacy').length").toInt());
    EXPECT_NE(-1, Js(map.panel, "document.getElementById('tiles-privacy').textContent")
                      .toString().indexOf("127.0.0.1"));
    EXPECT_FALSE(TilesNoticeDue());   // not again on the next start

    WriteFile(map.ini, "[Config]\nMapTiles=\n");
    map.Show({}, {});
}

TEST(SharedMapTest, TheKeyboardMovesTheMapAndPlacesTheSelectedPhotosAtTheCentre)
{
    SharedMap& map = Map();
    const auto paths = TakenPhotos({"keys.jpg"}, {"2023:06:17 08:04:10"});
    map.Show(paths, {{NAN, NAN}});
    QWidget* view = map.panel->findChild<QWebEngineView*>();
    map.host.activateWindow();
    view->setFocus(Qt::TabFocusReason);   // as Tab brings it there
    ASSERT_TRUE(WaitFor([&] { return Js(map.panel, "document.activeElement.id === 'map'").toBool(); }));
    const int zoom = State(map.panel).value("zoom").toInt();
    QTest::keyClick(view->focusProxy(), Qt::Key_Plus);
    ASSERT_TRUE(WaitFor([&] { return State(map.panel).value("zoom").toInt() == zoom + 1; }));
    const double east = State(map.panel).value("centre").toList()[1].toDouble();
    QTest::keyClick(view->focusProxy(), Qt::Key_Right);
    double last = east;   // the pan glides: wait till it rests
    EXPECT_TRUE(WaitFor([&] {
        const double now = State(map.panel).value("centre").toList()[1].toDouble();
        const bool resting = now > east && now == last;
        last = now;
        return resting;
    }));

    RecordingBoxes boxes;
    QTest::keyClick(view->focusProxy(), Qt::Key_Return);   // nothing selected: the map says what to do
    ASSERT_TRUE(WaitFor([&] { return State(map.panel).value("notices").toStringList().contains("select-first"); }));
    map.Select({0});
    ASSERT_TRUE(WaitFor([&] { return State(map.panel).value("selected").toList() == QVariantList{0}; }));
    QTest::keyClick(view->focusProxy(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return boxes.asked.size() == 1; }));
    const QVariantList centre = State(map.panel).value("centre").toList();
    const auto [latitude, longitude] = AskedPosition(boxes.asked[0].text);
    EXPECT_NEAR(centre[0].toDouble(), latitude, 1e-5);
    EXPECT_NEAR(centre[1].toDouble(), longitude, 1e-5);
    EXPECT_NEAR(latitude, StoredDegrees(paths[0], "Latitude"), 1.0 / 6000);
}

TEST(SharedMapTest, AFileNameIsShownAsTextAndRunsNothing)
{
    SharedMap& map = Map();
    const std::string name = "<img src=x onerror=alert(1)>.jpg";
    map.Show({"/trip/" + name}, {{54.4, -3.0}});
    const QString hover = "(function () {"
                          "  const e = document.querySelector('.photo[data-row=\"0\"]');"
                          "  if (!e) return null;"
                          "  e.dispatchEvent(new MouseEvent('mouseover', {bubbles: true}));"
                          "  const tip = document.querySelector('.leaflet-tooltip');"
                          "  return tip ? tip.textContent : null; })()";
    QVariant shown;
    ASSERT_TRUE(WaitFor([&] { return !(shown = Js(map.panel, hover)).isNull(); }));
    EXPECT_EQ(QString::fromStdString(name), shown.toString());
    EXPECT_EQ(0, Js(map.panel, "document.querySelectorAll('img[src=\"x\"]').length").toInt());
    WaitFor([] { return false; }, 300);   // an onerror would have run by now
    for (const QString& problem : map.panel->PageProblems())
        EXPECT_FALSE(problem.startsWith("alert")) << problem.toStdString();
}

// Every one of a large list's photos reaches the map, clustered; how soon is measured by
// scripts/bench-map-load.sh.
TEST(SharedMapTest, TenThousandPhotosAllReachTheMap)
{
    SharedMap& map = Map();
    std::vector<std::string> paths;
    for (int i = 0; i < 10000; ++i)
        paths.push_back("/trip/IMG_" + std::to_string(i) + ".jpg");
    map.photos.AddDroppedFiles(paths);
    for (int i = 0; i < 10000; ++i)
        map.photos.SetRow(i, ReadAt(54.0 + (i % 100) * 0.01, -3.0 - (i / 100) * 0.01));
    EXPECT_TRUE(WaitFor([&] {
        const QVariantMap state = State(map.panel);
        return state.value("markers").toInt() == 10000 && state.value("clustered").toInt() == 10000;
    }, 60000));
}

TEST(MapAvailability, RootNeedsTheSandboxOff)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root is refused";
    ScopedEnv sandbox("QTWEBENGINE_DISABLE_SANDBOX", nullptr);
    ScopedEnv flags("QTWEBENGINE_CHROMIUM_FLAGS", nullptr);
    EXPECT_FALSE(MapUnavailableReason().isEmpty());
    ScopedEnv off("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    EXPECT_TRUE(MapUnavailableReason().isEmpty());
}

}  // namespace

int main(int argc, char* argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Chromium refuses root with its sandbox on; these tests alone run without it.
    if (geteuid() == 0)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    // The tiles' cache goes to a folder of the run's own.
    TempDir cache;
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    shared.reset();   // the page goes while the application is still there
    return result;
}
