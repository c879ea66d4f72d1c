#include "gui/map/TileInterceptor.h"

#include <QRegularExpression>
#include <QUrl>
#include <QWebEngineUrlRequestInfo>

#include "common/VersionInfo.h"
#include "gui/Links.h"

using namespace Qt::StringLiterals;

namespace {

// What stands for the server's name in {s} while the template is parsed as an address.
const QString kSubdomain = u"pinroutesubdomain"_s;

// The placeholders of a template ({z}, {s}, ...) are not valid in an address; plain words
// stand in for them while it is parsed.
QUrl TemplateUrl(const QString& urlTemplate)
{
    QString text = urlTemplate;
    text.replace(u"{s}"_s, kSubdomain);
    for (const char* field : {"{z}", "{x}", "{y}", "{r}"})
        text.replace(QLatin1String(field), u"0"_s);
    return QUrl(text, QUrl::StrictMode);
}

}  // namespace

TileInterceptor::TileInterceptor(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

void TileInterceptor::SetTiles(const QString& urlTemplate)
{
    const QUrl url = TemplateUrl(urlTemplate);
    const bool usable = url.isValid() && (url.scheme() == u"https"_s || url.scheme() == u"http"_s) && !url.host().isEmpty();
    // {s}: any one name in its place ("a", "b", "c" in Leaflet's default), nothing more.
    const QString pattern = QRegularExpression::escape(url.host()).replace(kSubdomain, u"[a-z0-9-]+"_s);
    const std::lock_guard<std::mutex> hold(lock);
    scheme = usable ? url.scheme() : QString();
    host = usable ? QRegularExpression(QRegularExpression::anchoredPattern(pattern)) : QRegularExpression();
    port = usable ? url.port(url.scheme() == u"https"_s ? 443 : 80) : -1;
}

void TileInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    const QUrl url = info.requestUrl();
    if (url.scheme() == u"qrc"_s)
        return;
    bool tile = false;
    {
        const std::lock_guard<std::mutex> hold(lock);
        tile = !scheme.isEmpty() && info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeImage
            && url.scheme() == scheme && host.match(url.host()).hasMatch() && url.port(scheme == u"https"_s ? 443 : 80) == port;
    }
    if (!tile) {
        info.block(true);
        return;
    }
    info.setHttpHeader("User-Agent", UserAgent());
    info.setHttpHeader("Referer", Referer());
}

QByteArray TileInterceptor::UserAgent()
{
    return u"Pinroute/%1 (+%2)"_s.arg(QString::fromStdString(ProgramVersion()), QString::fromUtf8(kProductSite)).toUtf8();
}

QByteArray TileInterceptor::Referer()
{
    return QByteArray(kProductSite) + "/";
}
