// The Set-up dialog's buttons: the two browse buttons, Help, Save and the clock helpers.
#include "gui/SetupDialog.h"

#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "common/Messages.h"
#include "gui/ClockOffsetDialog.h"
#include "common/OffsetText.h"
#include "gui/FolderBrowser.h"
#include "gui/HelpLauncher.h"
#include "settings/SettingsLocation.h"

void SetupDialog::OnBrowseJpgDir()
{
    TakeValues();   // a bad offset is reported, and the browse goes on
    QString start = QString::fromStdString(values.JPGDir);
    if (start.endsWith(u'/') && start.size() > 1)
        start.chop(1);
    QString chosen;
    if (!pickers->BrowseFolder(this, tr("Select Directory"), start, chosen))
        return;
    values.JPGDir = chosen.toStdString();
    ShowValues();
    CheckFolder();   // a chosen folder is no typing to wait for
}

void SetupDialog::OnBrowseGpxFile()
{
    TakeValues();
    QString chosen;
    if (!pickers->BrowseGpxFile(this, QString::fromStdString(values.GPXPath), chosen))
        return;
    values.GPXPath = chosen.toStdString();
    ShowValues();
}

void SetupDialog::OnBrowsePhotoTrack()
{
    TakeValues();
    QString start = QString::fromStdString(values.PhotoTrack.empty() ? values.JPGDir : values.PhotoTrack);
    if (start.endsWith(u'/') && start.size() > 1)
        start.chop(1);
    QString chosen;
    if (!pickers->BrowseFolder(this, tr("Select the photo track folder"), start, chosen))
        return;
    values.PhotoTrack = chosen.toStdString();
    ShowValues();
}

void SetupDialog::OnHelp()
{
    HelpLauncher launcher;
    launcher.ShowTopic("pinroute.html");
}

void SetupDialog::OnSave()
{
    // A folder with a problem is saved all the same (a card may be mounted later), but the
    // warning is brought up to date with what is saved.
    if (folderTimer->isActive())
        CheckFolder();
    if (!TakeValues())
        return;
    std::string reason;
    if (!EnsureSettingsFolder(iniPath, reason) || !values.Write(iniPath, reason)) {
        ShowMessage(tr("The settings could not be saved to %1:\n%2").arg(QString::fromStdString(iniPath), QString::fromStdString(reason)).toStdString(), "",
                    MessageIcon::Error);
        return;
    }
    // Read back, so the caller gets exactly what every later command will read.
    if (!saved.Read(iniPath))
        saved = values;
    accept();
}

void SetupDialog::OnClockPhoto()
{
    TakeValues();
    auto* helper = new ClockOffsetDialog(QString::fromStdString(values.JPGDir), this);
    connect(helper, &QDialog::accepted, offsetEdit,
            [helper, this] { offsetEdit->setText(QString::fromStdString(OffsetText(helper->Seconds()))); });
    connect(helper, &QDialog::finished, helper, &QObject::deleteLater);
    helper->open();
}

void SetupDialog::OnSuggestOffset()
{
    TakeValues();
    auto* helper = new OffsetSuggestionsDialog(values, this);
    connect(helper, &QDialog::accepted, offsetEdit, [helper, this] {
        offsetEdit->setText(QString::fromStdString(OffsetText(helper->Seconds())));
        if (!helper->Zone().empty())
            cameraZoneEdit->setText(QString::fromStdString(helper->Zone()));
    });
    connect(helper, &QDialog::accepted, this, [helper, this] { ShowCameraGroups(helper->Cameras()); });
    connect(helper, &QDialog::finished, helper, &QObject::deleteLater);
    helper->open();
}
