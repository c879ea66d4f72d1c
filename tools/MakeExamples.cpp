// Makes the example set: a few small photos with capture times and the GPX track of the
// walk they were taken on, around Grasmere in the Lake District.
//   make_examples OUTPUT_FOLDER     writes OUTPUT_FOLDER/photos/*.jpg and OUTPUT_FOLDER/track.gpx
// The photos' capture times are set with the exiv2 program.
#include <cmath>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QTextStream>

namespace {

const int kWidth = 160;
const int kHeight = 120;

// The walk: a loop from the village round the lake, in order; degrees.
const double kRoute[][2] = {
    {54.45870, -3.02420}, {54.45610, -3.02290}, {54.45300, -3.02170}, {54.44950, -3.02080},
    {54.44600, -3.01980}, {54.44330, -3.02030}, {54.44160, -3.02350}, {54.44200, -3.02800},
    {54.44330, -3.03200}, {54.44620, -3.03380}, {54.44980, -3.03300}, {54.45340, -3.03080},
    {54.45660, -3.02800}, {54.45870, -3.02420},
};
const int kRouteLegs = sizeof kRoute / sizeof kRoute[0] - 1;
const int kStartSeconds = 8 * 3600;   // 08:00:00 UTC on 17 June 2023
const int kDurationSeconds = 90 * 60;
const int kStepSeconds = 30;

QString Clock(int seconds)
{
    return QString("%1:%2:%3").arg(seconds / 3600, 2, 10, QChar('0'))
        .arg(seconds / 60 % 60, 2, 10, QChar('0')).arg(seconds % 60, 2, 10, QChar('0'));
}

void Sky(QPainter& p, QColor top, QColor bottom)
{
    QLinearGradient sky(0, 0, 0, kHeight * 0.6);
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    p.fillRect(0, 0, kWidth, kHeight, sky);
}

void Fell(QPainter& p, QColor colour, std::initializer_list<QPointF> ridge)
{
    QPainterPath path;
    path.moveTo(0, kHeight);
    for (const QPointF& point : ridge)
        path.lineTo(point);
    path.lineTo(kWidth, kHeight);
    path.closeSubpath();
    p.fillPath(path, colour);
}

void Lake(QPainter& p, double top, QColor colour)
{
    QLinearGradient water(0, top, 0, kHeight);
    water.setColorAt(0, colour.lighter(125));
    water.setColorAt(1, colour);
    p.fillRect(QRectF(0, top, kWidth, kHeight - top), water);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(20 + i * 23, top + 6 + (i % 3) * 7), QPointF(34 + i * 23, top + 6 + (i % 3) * 7));
}

void Cottage(QPainter& p, double x, double y, QColor wall)
{
    p.setPen(Qt::NoPen);
    p.setBrush(wall);
    p.drawRect(QRectF(x, y, 26, 16));
    p.setBrush(QColor(0x4a, 0x4e, 0x5a));
    p.drawPolygon(QPolygonF({QPointF(x - 3, y), QPointF(x + 13, y - 11), QPointF(x + 29, y)}));
    p.setBrush(QColor(0xf2, 0xd4, 0x7a));
    p.drawRect(QRectF(x + 4, y + 5, 5, 5));
    p.drawRect(QRectF(x + 17, y + 5, 5, 5));
}

void Tree(QPainter& p, double x, double y, double size)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5b, 0x3a, 0x1e));
    p.drawRect(QRectF(x - size * 0.08, y, size * 0.16, size * 0.5));
    p.setBrush(QColor(0x2f, 0x6b, 0x2a));
    p.drawEllipse(QPointF(x, y - size * 0.2), size * 0.4, size * 0.5);
}

// Five scenes of the walk; the last was taken in the village after the walk had ended.
QImage Scene(int index)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:   // village green in the morning
        Sky(p, QColor(0x8f, 0xc3, 0xf0), QColor(0xe8, 0xf1, 0xf7));
        Fell(p, QColor(0x7d, 0x93, 0x6f), {{0, 58}, {40, 30}, {78, 48}, {120, 26}, {160, 50}});
        p.fillRect(0, 80, kWidth, 40, QColor(0x6d, 0xa8, 0x4a));
        Cottage(p, 20, 66, QColor(0xe9, 0xe4, 0xd8));
        Cottage(p, 66, 70, QColor(0xd8, 0xcf, 0xbd));
        Tree(p, 120, 74, 30);
        break;
    case 1:   // the lake shore, fells beyond
        Sky(p, QColor(0x6f, 0xa9, 0xe2), QColor(0xd6, 0xe8, 0xf5));
        Fell(p, QColor(0x6a, 0x7f, 0x64), {{0, 44}, {30, 22}, {64, 40}, {104, 18}, {160, 46}});
        Fell(p, QColor(0x4f, 0x6e, 0x45), {{0, 66}, {50, 52}, {110, 62}, {160, 56}});
        Lake(p, 72, QColor(0x2e, 0x6f, 0xa8));
        p.fillRect(0, 108, kWidth, 12, QColor(0xb9, 0xa7, 0x7f));
        break;
    case 2:   // the island in the lake
        Sky(p, QColor(0x9b, 0xb7, 0xd4), QColor(0xf0, 0xee, 0xe6));
        Fell(p, QColor(0x8a, 0x8f, 0x7a), {{0, 50}, {56, 34}, {96, 52}, {160, 30}});
        Lake(p, 64, QColor(0x3a, 0x78, 0x9e));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3d, 0x6b, 0x33));
        p.drawEllipse(QPointF(84, 78), 30, 9);
        Tree(p, 76, 70, 18);
        Tree(p, 92, 68, 22);
        break;
    case 3:   // view from the terrace path, down to the lake
        Sky(p, QColor(0x55, 0x8f, 0xd6), QColor(0xcf, 0xe2, 0xf2));
        Fell(p, QColor(0x73, 0x80, 0x6a), {{0, 36}, {46, 16}, {90, 34}, {130, 20}, {160, 30}});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3b, 0x7a, 0xb3));
        p.drawEllipse(QPointF(86, 70), 58, 16);
        Fell(p, QColor(0x8d, 0x9a, 0x4c), {{0, 84}, {60, 96}, {120, 90}, {160, 100}});
        p.setPen(QPen(QColor(0xc9, 0xb8, 0x8e), 3));
        p.drawLine(QPointF(10, 118), QPointF(70, 100));
        break;
    default:  // the tea shop in the afternoon
        Sky(p, QColor(0xe6, 0xa1, 0x5c), QColor(0xf6, 0xdd, 0xb0));
        Fell(p, QColor(0x6b, 0x5d, 0x63), {{0, 50}, {60, 28}, {110, 44}, {160, 32}});
        p.fillRect(0, 84, kWidth, 36, QColor(0x8b, 0x8b, 0x80));
        Cottage(p, 50, 64, QColor(0xf1, 0xe9, 0xd6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xb2, 0x2e, 0x2e));
        p.drawRect(QRectF(54, 80, 18, 4));
        Tree(p, 24, 78, 26);
        break;
    }
    return image;
}

// Position on the route after a fraction 0..1 of the walk; linear between the corners.
void RoutePosition(double fraction, double& lat, double& lon)
{
    const double leg = fraction * kRouteLegs;
    const int i = std::min(static_cast<int>(leg), kRouteLegs - 1);
    const double t = leg - i;
    lat = kRoute[i][0] + (kRoute[i + 1][0] - kRoute[i][0]) * t;
    lon = kRoute[i][1] + (kRoute[i + 1][1] - kRoute[i][1]) * t;
}

bool WriteTrack(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"Pinroute example set\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
           "  <metadata><name>Round Grasmere</name><time>2023-06-17T08:00:00Z</time></metadata>\n"
           "  <trk>\n    <name>Round Grasmere</name>\n    <trkseg>\n";
    for (int s = 0; s <= kDurationSeconds; s += kStepSeconds) {
        double lat, lon;
        const double fraction = static_cast<double>(s) / kDurationSeconds;
        RoutePosition(fraction, lat, lon);
        // Up to the terrace path on the south-west side and down again.
        const double ele = 64 + 58 * std::pow(std::sin(fraction * M_PI), 3);
        out << QString("      <trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>2023-06-17T%4Z</time></trkpt>\n")
                   .arg(lat, 0, 'f', 6).arg(lon, 0, 'f', 6).arg(ele, 0, 'f', 1).arg(Clock(kStartSeconds + s));
    }
    out << "    </trkseg>\n  </trk>\n</gpx>\n";
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_examples OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("photos")) {
        std::fprintf(stderr, "cannot make %s/photos\n", argv[1]);
        return 1;
    }
    // Capture times; the camera clock is set to UTC, like the GPS. The last photo was taken
    // two hours after the walk ended, so no track point is near it.
    const int captured[] = {4 * 60 + 10, 31 * 60 + 45, 52 * 60 + 20, 74 * 60 + 5, 222 * 60 + 30};
    for (int i = 0; i < 5; ++i) {
        const QString path = out.filePath(QString("photos/IMG_%1.jpg").arg(2301 + i));
        if (!Scene(i).save(path, "JPEG", 82)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        const QString when = "2023:06:17 " + Clock(kStartSeconds + captured[i]);
        const int rc = QProcess::execute("exiv2", {"-M", "set Exif.Image.Make Ascii Pinroute",
                                                   "-M", "set Exif.Image.Model Ascii Example set",
                                                   "-M", "set Exif.Photo.DateTimeOriginal Ascii " + when,
                                                   "--", path});
        if (rc != 0) {
            std::fprintf(stderr, "exiv2 failed on %s\n", qPrintable(path));
            return 1;
        }
    }
    if (!WriteTrack(out.filePath("track.gpx"))) {
        std::fprintf(stderr, "cannot write the track\n");
        return 1;
    }
    return 0;
}
