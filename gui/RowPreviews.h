#pragma once
#include <functional>
#include <memory>
#include <string>

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QPixmap>
#include <QObject>
#include <QSet>
#include <QStringList>

class QThreadPool;
class Workspace;

// A photo's thumbnail and capture moment, for the photo list. Asked for by the rows that are
// painted; made off the window's thread (exiv2 reads the capture times, a batch at a time;
// Qt decodes and scales the image, or exiv2 extracts the embedded preview of kinds Qt can't
// decode); kept until the list is replaced. The window never waits for one.
class RowPreviews : public QObject {
    Q_OBJECT
public:
    static constexpr int kHeight = 36;   // pixels; the width follows the photo's shape, up to 48

    explicit RowPreviews(QObject* parent = nullptr);
    ~RowPreviews() override;

    struct Preview {
        QPixmap thumbnail;   // null when the photo has none that can be shown
        QDateTime taken;     // the camera's clock as it read, or invalid
    };
    // The preview of a path if it is made; otherwise asks for it and returns null.
    const Preview* Find(const QString& path);
    // Forgets every preview and every request (the list was replaced).
    void Clear();
    // Drops the requests not yet begun and waits for the batch under way (the list is hidden).
    void Stop();
    // The window's working folder, for the previews' listings and extracted pictures (null:
    // none now). Without one, each batch makes a private folder of its own.
    void SetWorkspace(std::function<Workspace*()> find) { workspace = std::move(find); }

signals:
    // A preview is ready; Find gives it now.
    void Ready(const QString& path);

private:
    void Work(const std::string& folder);

    QHash<QString, Preview> made;      // on the window's thread only
    QMutex mutex;                      // guards queue and generation
    QStringList queue;
    QSet<QString> asked;               // on the window's thread only
    int generation = 0;
    bool working = false;
    std::unique_ptr<QThreadPool> pool;
    std::function<Workspace*()> workspace;
};
