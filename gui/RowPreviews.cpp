#include "gui/RowPreviews.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QThreadPool>

#include "exif/PhotoListing.h"
#include "exif/Workspace.h"

namespace {

// Photos listed in one exiv2 run: enough to fill a screen of rows.
const int kBatch = 24;
const int kWidth = 48;

QImage Fitted(const QImage& image)
{
    return image.isNull() ? image
                          : image.scaled(kWidth, RowPreviews::kHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// The photo decoded at a small size (JPEG decodes at 1/2, 1/4 or 1/8 of its size, quickly).
QImage Decoded(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);   // turned as the camera was held
    const QSize size = reader.size();
    if (!reader.canRead())
        return {};
    if (size.isValid())
        reader.setScaledSize(size.scaled(kWidth * 2, RowPreviews::kHeight * 2, Qt::KeepAspectRatioByExpanding)
                                 .boundedTo(size));
    return Fitted(reader.read());
}

// The smallest preview that the photo carries (RAW kinds), extracted by exiv2 into scratch.
// The folder is made only inside one that exists: a working folder removed meanwhile stays gone.
QImage Embedded(const QString& path, const QString& scratch)
{
    QDir folder(scratch);
    if (!folder.exists() && !QDir().mkdir(scratch))
        return {};
    for (const QString& old : folder.entryList(QDir::Files))
        folder.remove(old);
    QProcess exiv2;
    exiv2.setProcessChannelMode(QProcess::MergedChannels);
    exiv2.start(QStringLiteral("exiv2"), {QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("-ep1"), QStringLiteral("-l"), scratch, QStringLiteral("--"), path});
    if (!exiv2.waitForFinished(10000)) {
        exiv2.kill();
        exiv2.waitForFinished();
        return {};
    }
    const QStringList made = folder.entryList(QDir::Files);
    if (made.isEmpty())
        return {};
    QImageReader reader(folder.filePath(made.front()));
    reader.setScaledSize(QSize(kWidth * 2, RowPreviews::kHeight * 2));
    QImage image = reader.read();
    if (image.isNull())
        image = QImage(folder.filePath(made.front()));
    return Fitted(image);
}

QDateTime Taken(int64_t captureTime)
{
    // Time counts read the camera's fields as if they were UTC: shown back as they read.
    return captureTime < 0 ? QDateTime() : QDateTime::fromSecsSinceEpoch(captureTime, Qt::UTC);
}

}  // namespace

RowPreviews::RowPreviews(QObject* parent) : QObject(parent), pool(std::make_unique<QThreadPool>())
{
    pool->setMaxThreadCount(1);
}

RowPreviews::~RowPreviews()
{
    Stop();
}

const RowPreviews::Preview* RowPreviews::Find(const QString& path)
{
    const auto found = made.constFind(path);
    if (found != made.constEnd())
        return &found.value();
    if (asked.contains(path))
        return nullptr;
    asked.insert(path);
    QMutexLocker lock(&mutex);
    queue.append(path);
    if (!working) {
        working = true;
        Workspace* shared = workspace ? workspace() : nullptr;
        const std::string folder = shared && shared->Ready() ? shared->Folder() : std::string();
        pool->start([this, folder] { Work(folder); });
    }
    return nullptr;
}

void RowPreviews::Clear()
{
    made.clear();
    asked.clear();
    QMutexLocker lock(&mutex);
    queue.clear();
    ++generation;
}

void RowPreviews::Stop()
{
    {
        QMutexLocker lock(&mutex);
        queue.clear();
        ++generation;
    }
    asked.clear();
    pool->waitForDone();
}

void RowPreviews::Work(const std::string& sharedFolder)
{
    for (;;) {
        QStringList batch;
        int batchGeneration = 0;
        {
            QMutexLocker lock(&mutex);
            // The rows asked for last are the ones on the screen now.
            while (!queue.isEmpty() && batch.size() < kBatch)
                batch.append(queue.takeLast());
            batchGeneration = generation;
            if (batch.isEmpty()) {
                working = false;
                return;
            }
        }
        // The window's working folder, else a private one for this batch alone: none is left
        // behind when the window closes.
        std::unique_ptr<Workspace> own;
        std::string folder = sharedFolder;
        if (folder.empty()) {
            own = std::make_unique<Workspace>();
            folder = own->Folder();
        }
        const std::string sub = folder.empty() ? std::string() : folder + "/previews";
        const QString scratch = QString::fromStdString(sub);
        std::vector<PhotoTags> tags;
        if (!sub.empty() && (QDir(scratch).exists() || QDir().mkdir(scratch))) {
            std::vector<std::string> paths;
            for (const QString& path : batch)
                paths.push_back(path.toStdString());
            tags = ListPhotos(WorkerFiles{sub + "/_output.tmp", sub + "/cmd.txt", sub + "/log.txt"}, paths);
        }
        for (int i = 0; i < batch.size(); ++i) {
            QImage thumbnail = Decoded(batch[i]);
            if (thumbnail.isNull() && !scratch.isEmpty())
                thumbnail = Embedded(batch[i], scratch + QStringLiteral("/extracted"));
            const QDateTime taken =
                static_cast<size_t>(i) < tags.size() ? Taken(tags[static_cast<size_t>(i)].captureTime) : QDateTime();
            const QString path = batch[i];
            QMetaObject::invokeMethod(this, [this, path, thumbnail, taken, batchGeneration] {
                {
                    QMutexLocker lock(&mutex);
                    if (batchGeneration != generation)
                        return;   // the list was replaced meanwhile
                }
                // A pixmap is made on the window's thread, once, not at every paint.
                made.insert(path, Preview{QPixmap::fromImage(thumbnail), taken});
                emit Ready(path);
            }, Qt::QueuedConnection);
        }
    }
}
