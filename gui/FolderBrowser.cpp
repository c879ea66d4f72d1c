#include "gui/FolderBrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

const char kGpxFileFilter[] = QT_TRANSLATE_NOOP("FolderBrowser", "GPX Files *.GPX (*.[gG][pP][xX])");

bool FolderBrowser::BrowseFolder(QWidget* parent, const QString& title, const QString& start,
                                 QString& chosen)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, title, start,
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return false;
    chosen = QDir::toNativeSeparators(folder);
    return true;
}

bool FolderBrowser::BrowseGpxFile(QWidget* parent, const QString& start, QString& chosen)
{
    // A pattern such as /home/me/gps/*.gpx opens on its folder; a file name is preselected.
    QString initial = start;
    const QFileInfo info(start);
    if (info.fileName().contains(u'*') || info.fileName().contains(u'?'))
        initial = info.path();
    const QString file = QFileDialog::getOpenFileName(parent, QString(), initial, QCoreApplication::translate("FolderBrowser", kGpxFileFilter),
                                                      nullptr,
                                                      QFileDialog::HideNameFilterDetails);
    if (file.isEmpty())
        return false;
    chosen = QFileInfo(file).absoluteFilePath();
    return true;
}
