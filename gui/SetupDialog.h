#pragma once
#include <string>

#include <QDialog>

#include "settings/Settings.h"

class PathPickers;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// Runs the Set-up dialog modally over settings, which are kept in the file iniPath.
// True when it was closed through Save: settings then hold what was saved, as a fresh
// read of the file gives them. After Cancel settings are unchanged.
bool RunSetupDialog(QWidget* parent, const std::string& iniPath, Settings& settings);

// The "Set-up" dialog. It edits a copy of the settings and writes all six to iniPath on
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
    void OnHelp();
    void OnSave();
    // Open the clock helpers over the dialog; what the user takes fills the offset box.
    void OnClockPhoto();
    void OnSuggestOffset();

private:
    void BuildControls();
    void BuildFramesAndLabels();
    void BuildPathRows();
    void BuildChoices();
    void BuildButtons();
    void ConnectControls();
    bool TakeValues();   // controls -> values; false (message shown) for a bad offset
    void ShowValues();   // values -> controls

    Settings values;   // what the controls show, JPGDir as typed
    Settings saved;
    std::string iniPath;
    PathPickers* pickers;
    PathPickers* ownPickers = nullptr;

    QLineEdit* jpgDirEdit = nullptr;
    QPushButton* jpgDirBrowse = nullptr;
    QLineEdit* gpxPathEdit = nullptr;
    QPushButton* gpxBrowse = nullptr;
    QCheckBox* dateCheck = nullptr;
    QCheckBox* positionCheck = nullptr;
    QCheckBox* rawSidecarCheck = nullptr;
    QCheckBox* interpolateCheck = nullptr;
    QCheckBox* photoZoneCheck = nullptr;
    QRadioButton* latLonRadio = nullptr;
    QRadioButton* osgbRadio = nullptr;
    QButtonGroup* displayGroup = nullptr;
    QLineEdit* offsetEdit = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* clockButton = nullptr;
    QToolButton* suggestButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
