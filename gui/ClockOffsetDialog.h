#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include <QDialog>
#include <QString>

#include "geotag/ClockOffset.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QThread;

// Chooses the photo of the clock. Tests answer instead of the user.
class PhotoPicker {
public:
    virtual ~PhotoPicker() = default;
    // start: the folder to open on. True and the photo's full path on OK.
    virtual bool PickPhoto(QWidget* parent, const QString& start, QString& chosen) = 0;
};

// The real chooser: Qt's open-file dialog.
PhotoPicker& DesktopPhotoPicker();

// "From a photo of the GPS clock": the user picks a photo of a clock that shows UTC or GPS
// time and types the time it shows; the dialog shows the offset in whole minutes and the
// seconds left over. Use closes it with the offset in Minutes().
class ClockOffsetDialog : public QDialog {
    Q_OBJECT
public:
    // folder: where the chooser opens; picker null: the real chooser.
    explicit ClockOffsetDialog(const QString& folder, QWidget* parent = nullptr, PhotoPicker* picker = nullptr);

    void SetPicker(PhotoPicker* p) { picker = p; }
    int32_t Minutes() const { return static_cast<int32_t>(lead.minutes); }

    void OnPickPhoto();
    void OnTimeEdited();

private:
    // Reads the photo's capture time through the EXIF tool: a time count, or -1.
    void ReadCaptureTime(const QString& path);

    QString folder;
    PhotoPicker* picker;
    int64_t captureTime = -1;
    ClockLead lead;
    QLineEdit* photoEdit = nullptr;
    QLabel* captureLabel = nullptr;
    QLineEdit* shownEdit = nullptr;
    QLabel* resultLabel = nullptr;
    QPushButton* useButton = nullptr;
};

// "Suggest": the offsets that put the most photos near the track, best first; Use closes it
// with the chosen one in Minutes().
class OffsetSuggestionsDialog : public QDialog {
    Q_OBJECT
public:
    // Lists the photos of photoFolder and reads the track(s) trackPath names on a worker
    // thread, showing how far it got; Ready() follows when the list is filled.
    OffsetSuggestionsDialog(const std::string& photoFolder, const std::string& trackPath,
                            QWidget* parent = nullptr);
    ~OffsetSuggestionsDialog() override;   // stops the reading and waits for it

    int32_t Minutes() const;
    bool Finished() const { return finished; }

signals:
    void Ready();

private:
    void Show(const SuggestionRun& run);

    std::vector<OffsetSuggestion> best;
    QListWidget* list = nullptr;
    QLabel* heading = nullptr;
    QLabel* zone = nullptr;
    QProgressBar* progress = nullptr;
    QPushButton* useButton = nullptr;
    QThread* worker = nullptr;
    std::atomic<bool> stopping{false};
    bool finished = false;
};
