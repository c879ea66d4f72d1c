#pragma once
#include <map>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "geotag/ClockOffset.h"
#include "settings/Settings.h"

class PathPickers;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QResizeEvent;
class QTableWidget;
class QSpinBox;
class QTimer;
class QToolButton;
class QWidget;

// Runs the Set-up dialog modally over settings, which are kept in the file iniPath.
// True when it was closed through Save: settings then hold what was saved, as a fresh
// read of the file gives them. After Cancel settings are unchanged.
bool RunSetupDialog(QWidget* parent, const std::string& iniPath, Settings& settings);

// The open-file filters of the track box, ";;" between them: every track kind, GPX, all
// files. Each matches names in any letter case, also in dialogs that compare by case.
QString TrackFileFilters();

// The "Set-up" dialog. It edits a copy of the settings and writes them all to iniPath on
// Save; a failed write is reported and the dialog stays open with its values.
class SetupDialog : public QDialog {
    Q_OBJECT
public:
    // pickers: the folder and file choosers; null uses the real dialogs.
    SetupDialog(const Settings& settings, const std::string& iniPath, QWidget* parent = nullptr,
                PathPickers* pickers = nullptr);
    ~SetupDialog() override;

    // The settings as read back from the file after Save (JPGDir with its final "/");
    // the settings the dialog opened with until then.
    Settings Result() const;

    void OnBrowseJpgDir();
    void OnBrowseGpxFile();
    void OnBrowsePhotoTrack();
    void OnHelp();
    void OnSave();
    // Open the clock helpers over the dialog; what the user takes fills the offset box.
    void OnClockPhoto();
    void OnSuggestOffset();
    // Checks the folder box's text now and shows or hides the warning below it. Typing
    // runs it once the keys pause.
    void CheckFolder();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    QLayout* BuildPathRows();
    QWidget* BuildParseRename();
    QLayout* BuildOffsetAndButtons();
    QLayout* BuildLimitRows();   // the match limits, under the interpolation choice
    QLayout* BuildZoneRow();     // the camera clock's zone, under the photo zone choice
    bool TakeClockValues();      // those and KeepSoftware -> values; false (message shown) for an unknown zone
    void ShowClockValues();
    void ConnectControls();
    void FitHeight();
    bool TakeValues();   // controls -> values; false (message shown) for a bad offset
    void ShowValues();   // values -> controls
    QWidget* BuildCameraTable();
    void ShowCameraOffsets();   // values.CameraOffsets and the cameras Suggest found -> the table
    bool TakeCameraOffsets();   // the table -> values.CameraOffsets; false (message shown) for a bad one
    // Suggest's cameras: with several, each gets its best offset in the table.
    void ShowCameraGroups(const std::vector<CameraGroup>& groups);

    Settings values;   // what the controls show, JPGDir as typed
    Settings saved;
    std::string iniPath;
    PathPickers* pickers;
    PathPickers* ownPickers = nullptr;

    QLineEdit* jpgDirEdit = nullptr;
    QPushButton* jpgDirBrowse = nullptr;
    QLabel* folderWarning = nullptr;
    QCheckBox* recurseCheck = nullptr;
    QTimer* folderTimer = nullptr;
    QLineEdit* gpxPathEdit = nullptr;
    QPushButton* gpxBrowse = nullptr;
    QLineEdit* photoTrackEdit = nullptr;
    QPushButton* photoTrackBrowse = nullptr;
    QCheckBox* dateCheck = nullptr;
    QCheckBox* positionCheck = nullptr;
    QCheckBox* rawSidecarCheck = nullptr;
    QCheckBox* interpolateCheck = nullptr;
    QCheckBox* photoZoneCheck = nullptr;
    QCheckBox* replaceCheck = nullptr;
    QCheckBox* keepSoftwareCheck = nullptr;
    QSpinBox* maxGapSpin = nullptr;
    QSpinBox* maxInterpolationGapSpin = nullptr;
    QLineEdit* cameraZoneEdit = nullptr;
    QCheckBox* placesCheck = nullptr;
    QCheckBox* placeInNameCheck = nullptr;
    QRadioButton* latLonRadio = nullptr;
    QRadioButton* osgbRadio = nullptr;
    QButtonGroup* displayGroup = nullptr;
    QLineEdit* offsetEdit = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* clockButton = nullptr;
    QToolButton* suggestButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QTableWidget* cameraTable = nullptr;
    std::map<std::string, int> cameraPhotos;   // each camera's photos, as Suggest counted them
};
