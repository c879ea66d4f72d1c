#pragma once
#include <mutex>

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QWebEngineUrlRequestInterceptor>

// Every request of the map page passes here. The page's own files (qrc:) go through as
// they are; an image from the tile server gets the program's User-Agent and a Referer of
// an origin only (tile servers refuse requests without one, and Chromium cancels a
// Referer with a path); anything else is blocked, so that the page loads nothing remote
// but tiles.
class TileInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    explicit TileInterceptor(QObject* parent = nullptr);

    // The tile address template (MapTiles): its scheme, host and port are what tiles may
    // come from. An empty or unusable one allows no remote request at all.
    void SetTiles(const QString& urlTemplate);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // "Pinroute/1.00.0.19 (+https://pinroute.org)"
    static QByteArray UserAgent();
    // "https://pinroute.org/"
    static QByteArray Referer();

private:
    std::mutex lock;   // the template may change while a request is being looked at
    QString scheme;
    QRegularExpression host;   // the tile server's name, {s} matching one name of its own
    int port = -1;
};
