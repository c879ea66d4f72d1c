#include "gui/map/MapData.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include "gui/map/MapPanel.h"
#include "track/TrackReader.h"
#include "track/TrackSearch.h"

using namespace Qt::StringLiterals;

namespace {

QJsonArray MarkerArray(const PhotoList& photos, int row)
{
    QJsonArray entry{row};
    const PhotoRow& r = photos.Row(row);
    const char kind = MarkerKind(r);
    if (kind == 0)
        return entry;
    entry.append(r.position->latitude);
    entry.append(r.position->longitude);
    entry.append(QString(QLatin1Char(kind)));
    entry.append(QString::fromStdString(photos.Text(row, ColumnName)));
    return entry;
}

QJsonObject TilesObject(const std::string& tiles, bool notice)
{
    const QString url = QString::fromStdString(tiles);
    // A template the page can use: http or https with the three numbers of a tile.
    const bool usable = (url.startsWith(u"https://"_s) || url.startsWith(u"http://"_s)) && url.contains(u"{z}"_s)
        && url.contains(u"{x}"_s) && url.contains(u"{y}"_s);
    QString host = QUrl(QString(url).replace(u"{s}"_s, u"a"_s)).host();
    return QJsonObject{{u"url"_s, usable ? url : QString()},
                       {u"host"_s, host},
                       {u"osm"_s, host == u"openstreetmap.org"_s || host.endsWith(u".openstreetmap.org"_s)},
                       {u"notice"_s, notice}};
}

// Degrees to the millionth (about 0.1 m): all a line on the screen needs, in fewer characters.
double Micro(double degrees)
{
    return std::round(degrees * 1e6) / 1e6;
}

QJsonArray TrackArray(const TrackLines& lines)
{
    QJsonArray track;
    for (const auto& segment : lines.segments) {
        QJsonArray flat;   // lat, lon, lat, lon, ...
        for (const LinePoint& p : segment) {
            flat.append(Micro(p.latitude));
            flat.append(Micro(p.longitude));
        }
        track.append(flat);
    }
    return track;
}

}  // namespace

TrackLines LinesOf(const Track& track, size_t maxPoints)
{
    TrackLines lines;
    size_t total = 0;
    for (const TrackPoint& p : track)
        total += p.segment >= 0;
    const size_t step = maxPoints == 0 || total <= maxPoints ? 1 : (total + maxPoints - 1) / maxPoints;
    int current = -1;
    size_t n = 0;   // points of the current segment so far
    for (size_t i = 0; i < track.size(); ++i) {
        const TrackPoint& p = track[i];
        if (p.segment < 0)
            continue;
        if (p.segment != current || lines.segments.empty()) {
            lines.segments.emplace_back();
            current = p.segment;
            n = 0;
        }
        const bool last = i + 1 == track.size() || track[i + 1].segment != current;
        if (n++ % step == 0 || last)
            lines.segments.back().push_back(LinePoint{p.lat, p.lon, p.time});
    }
    return lines;
}

TrackLines LoadTrackLines(const std::string& trackPath, size_t maxPoints)
{
    Track track;
    std::vector<std::string> errors;
    for (const std::string& path : MatchTrackFiles(trackPath)) {
        std::string reason;
        if (LoadTrackFile(path, track, &reason) != 0)
            errors.push_back(FileNameOf(path) + ": "
                             + (reason.empty() ? QCoreApplication::translate("MapPanel", "can't be read").toStdString() : reason));
    }
    TrackLines lines = LinesOf(track, maxPoints);
    lines.errors = std::move(errors);
    return lines;
}

char MarkerKind(const PhotoRow& row)
{
    if (!row.position)
        return 0;
    if (row.icon == RowIcon::Cross)
        return 'f';
    return row.position->written ? 'w' : 'r';
}

QString MarkersMessage(const PhotoList& photos, const std::vector<int>& rows, bool fit)
{
    QJsonArray markers;
    for (int row : rows)
        if (row >= 0 && row < photos.Count())
            markers.append(MarkerArray(photos, row));
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{u"markers"_s, markers}, {u"fit"_s, fit}}).toJson(QJsonDocument::Compact));
}

QString TrackMessage(const TrackLines& lines)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{u"track"_s, TrackArray(lines)}, {u"fit"_s, true}}).toJson(QJsonDocument::Compact));
}

namespace {

// The page's own words (map.js), in the user's language.
QJsonObject PageTexts()
{
    return QJsonObject{
        {u"hide"_s, MapPanel::tr("Hide this line")},
        {u"tilesFailed"_s, MapPanel::tr("Map tiles could not be loaded: offline? See Set-up \u2192 Map tiles")},
        {u"aboutTiles"_s, MapPanel::tr("About map tiles")},
        {u"privacy"_s, MapPanel::tr("The area you view is sent to %1 to fetch the map's tiles.")},
        {u"tilesFrom"_s, MapPanel::tr("Map tiles: %1")},
        {u"takenHere"_s, MapPanel::tr("This photo was taken here")},
        {u"selectOne"_s, MapPanel::tr("Select one photo in the list, then click the track where it was taken: "
                                      "Pinroute works out the camera clock's offset from that point.")},
        {u"mapLabel"_s, MapPanel::tr("Map: arrow keys move it, + and - zoom, Enter places the selected photos at the "
                                     "cross in the middle")},
        {u"selectFirst"_s, MapPanel::tr("Select photos in the list, then press Enter to place them at the cross.")},
    };
}

}  // namespace

QString FullMessage(const PhotoList& photos, const TrackLines& lines, const std::string& tiles, bool tilesNotice)
{
    QJsonArray markers;
    for (int row = 0; row < photos.Count(); ++row)
        if (photos.Row(row).position)
            markers.append(MarkerArray(photos, row));
    const QJsonObject message{{u"texts"_s, PageTexts()}, {u"tiles"_s, TilesObject(tiles, tilesNotice)},
                              {u"reset"_s, true}, {u"track"_s, TrackArray(lines)},
                              {u"markers"_s, markers}, {u"fit"_s, true}};
    return QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

QString SelectionMessage(const std::vector<int>& rows, bool centre)
{
    QJsonArray list;
    for (int row : rows)
        list.append(row);
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{u"rows"_s, list}, {u"centre"_s, centre}}).toJson(QJsonDocument::Compact));
}
