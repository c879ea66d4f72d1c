#pragma once
#include <QDialog>

#include "run/Command.h"
#include <QPointer>
#include <QRect>

#include <memory>
#include <string>
#include <vector>

#include "journal/Journal.h"
#include "photos/PhotoList.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QThread;
class PhotoListView;
class RunControl;
class Workspace;
class Settings;

// The program's one window: the photo list, the status line and the command buttons.
// GeoTag, Parse and Rename run on a worker thread; the window stays live meanwhile.
// The remedy the window offers for photos only in sub-folders.
inline const char kRecurseInSetup[] = QT_TRANSLATE_NOOP("Folder", "tick Include sub-folders in Set-up to use them");

class MainDialog : public QDialog {
    Q_OBJECT
public:
    // settingsPath: the settings file the window reads, and Set-up writes.
    explicit MainDialog(std::string settingsPath, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Fills the list with the given files, as a drop does (files opened with the program).
    void OpenFiles(const std::vector<std::string>& paths);
    bool Running() const { return runThread != nullptr; }

public slots:
    void OnGeoTag();
    void OnParse();
    void OnRename();
    void OnSetUp();
    void OnAbout();
    void OnHelp();   // F1: the manual
    void OnUndoLastRun();   // Ctrl+Z: asks, then undoes the newest run in the journal
    void OnRemovePositions(const QList<int>& rows);   // asks, then removes the rows' positions
    void OnClose();
    // Esc and the Close button end here: they stop a run, or else close the window.
    void reject() override;

signals:
    // A run has ended and the window shows its outcome.
    void RunFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPushButton* BuildButtons();   // the six buttons, in tab order; returns GeoTag's
    void BuildListArea();          // the photo list, and the map beside it
    void BuildEmptyNote();         // what the empty list says
    void ConnectShortcuts();       // the keys and the list's requests
    void BuildStatusLine();   // the status line and its label, beside the buttons

    void Initialise();
    QPushButton* AddButton(int id, const char* name, const QString& text, int x);
    Workspace* EnsureWorkspace();
    // False, after saying why, when the list is empty or (for GeoTag and Rename) a folder
    // of its photos can't be written.
    bool ReadyToRun(Command command, const Settings& settings);
    // confirmed: a Rename the user has agreed to, after its preview.
    void StartRun(Command command, bool confirmed = false);
    // After the preview: newNames holds each row that would be renamed and its new path.
    void EndRenamePreview(const std::vector<std::pair<int, std::string>>& newNames,
                          const std::vector<std::string>& paths, const RunResult& result, int total);
    void EndRun(Command command, const RunResult& result, int total);
    void UpdateEmptyNote();
    void SetRunning(bool running);
    void StopRun();

    const std::string settingsPath;
    PhotoList photos;
    PhotoListView* photoList = nullptr;
    QWidget* listArea = nullptr;   // the list, or the splitter that holds it and the map
    QLineEdit* statusLine = nullptr;
    QLabel* emptyNote = nullptr;   // over the empty list
    JournalRun undoRun;            // the run an Undo puts back
    std::vector<int> runRows;      // the rows a Remove or an Undo works on, in its order
    bool removePlaces = false;     // a Remove takes the place names too
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<RunControl> control;
    QThread* runThread = nullptr;
    bool closeAfterRun = false;
    QPointer<QWidget> focusBeforeRun;
    // Where the controls sit at the size the layout table gives; resizing moves from there.
    QSize baseSize;
    std::vector<std::pair<QWidget*, QRect>> baseGeometry;
};
