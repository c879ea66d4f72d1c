#pragma once
#include <cstdint>
#include <string>

#include <QDialog>

class PathPickers;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Runs the Set-up dialog modally; true when it was closed through Save.
bool RunSetupDialog(QWidget* parent);

// What the Set-up dialog edits: a copy of the six settings.
struct SetupValues {
    std::string JPGDir;        // as typed; ends with "/" when read from the settings
    std::string GPXPath;
    int32_t Date = 0;          // flag, 0 or 1
    int32_t Posn = 0;          // flag, 0 or 1
    int32_t DisplayType = -1;  // 0 Lat/Lon, 1 OSGB, -1 neither button checked
    int32_t OffsetMinutes = 0;
};

// The "Set-up" dialog. It reads the settings when it is built and writes all six on Save.
class SetupDialog : public QDialog {
    Q_OBJECT
public:
    // pickers: the folder and file choosers; null uses the real dialogs.
    explicit SetupDialog(QWidget* parent = nullptr, PathPickers* pickers = nullptr);
    ~SetupDialog() override;

    const SetupValues& Values() const { return values; }

    void OnBrowseJpgDir();
    void OnBrowseGpxFile();
    void OnHelp();
    void OnSave();

private:
    void BuildControls();
    bool TakeValues();   // controls -> values; false (message shown) for a bad offset
    void ShowValues();   // values -> controls

    SetupValues values;
    PathPickers* pickers;
    PathPickers* ownPickers = nullptr;

    QLineEdit* jpgDirEdit = nullptr;
    QPushButton* jpgDirBrowse = nullptr;
    QLineEdit* gpxPathEdit = nullptr;
    QPushButton* gpxBrowse = nullptr;
    QCheckBox* dateCheck = nullptr;
    QCheckBox* positionCheck = nullptr;
    QRadioButton* latLonRadio = nullptr;
    QRadioButton* osgbRadio = nullptr;
    QButtonGroup* displayGroup = nullptr;
    QLineEdit* offsetEdit = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;
};

// The text shown when the offset box holds no whole number.
extern const char kOffsetNotWholeNumber[];
