#include "gui/map/MapData.h"

#include <algorithm>
#include <cmath>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include "track/TrackReader.h"
#include "track/TrackSearch.h"

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
    entry.append(QString(QChar(kind)));
    entry.append(QString::fromStdString(photos.Text(row, ColumnName)));
    return entry;
}

QJsonObject TilesObject(const std::string& tiles, bool notice)
{
    const QString url = QString::fromStdString(tiles);
    // A template the page can use: http or https with the three numbers of a tile.
    const bool usable = (url.startsWith("https://") || url.startsWith("http://")) && url.contains("{z}")
        && url.contains("{x}") && url.contains("{y}");
    QString host = QUrl(QString(url).replace("{s}", "a")).host();
    return QJsonObject{{"url", usable ? url : QString()},
                       {"host", host},
                       {"osm", host == "openstreetmap.org" || host.endsWith(".openstreetmap.org")},
                       {"notice", notice}};
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
            errors.push_back(FileNameOf(path) + ": " + (reason.empty() ? "can't be read" : reason));
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
        QJsonDocument(QJsonObject{{"markers", markers}, {"fit", fit}}).toJson(QJsonDocument::Compact));
}

QString TrackMessage(const TrackLines& lines)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{"track", TrackArray(lines)}, {"fit", true}}).toJson(QJsonDocument::Compact));
}

QString FullMessage(const PhotoList& photos, const TrackLines& lines, const std::string& tiles, bool tilesNotice)
{
    QJsonArray markers;
    for (int row = 0; row < photos.Count(); ++row)
        if (photos.Row(row).position)
            markers.append(MarkerArray(photos, row));
    const QJsonObject message{{"tiles", TilesObject(tiles, tilesNotice)}, {"reset", true}, {"track", TrackArray(lines)},
                              {"markers", markers}, {"fit", true}};
    return QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

QString SelectionMessage(const std::vector<int>& rows, bool centre)
{
    QJsonArray list;
    for (int row : rows)
        list.append(row);
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{"rows", list}, {"centre", centre}}).toJson(QJsonDocument::Compact));
}
