#include "gui/MainDialog.h"

#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/DialogUnits.h"
#include "gui/Icons.h"
#include "gui/PhotoListView.h"
#include "geotag/GeoTagRun.h"
#include "gui/AboutDialog.h"
#include "gui/Links.h"
#include "common/VersionInfo.h"
#include "parse/ParseRun.h"
#include "gui/SetupDialog.h"
#include "settings/Settings.h"

namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

void DeleteTempFiles()
{
    // unlink, not remove: a folder of one of these names is the user's, not ours.
    for (const char* name : {"_output.tmp", "cmd.txt", "log_update_jpg.txt"})
        unlink(name);
}

MainDialog::MainDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("mainDialog");
    const QIcon icon = AppIcon();
    setWindowIcon(icon);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(DialogRect(font(), 0, 0, 371, 174).size());

    // Created in tab order: the buttons, then the list and the status line.
    QPushButton* geotag = AddButton(1018, "geotagButton", "&GeoTag", 12);
    geotag->setDefault(true);
    connect(geotag, &QPushButton::clicked, this, &MainDialog::OnGeoTag);
    connect(AddButton(1002, "parseButton", "&Parse", 68), &QPushButton::clicked, this,
            &MainDialog::OnParse);
    connect(AddButton(1003, "renameButton", "&Rename", 124), &QPushButton::clicked, this,
            &MainDialog::OnRename);
    connect(AddButton(1025, "aboutButton", "&About", 180), &QPushButton::clicked, this,
            &MainDialog::OnAbout);
    connect(AddButton(1004, "setupButton", "&Set-up", 236), &QPushButton::clicked, this,
            &MainDialog::OnSetUp);
    connect(AddButton(2, "closeButton", "&Close", 292), &QPushButton::clicked, this,
            &MainDialog::OnClose);

    photoList = PlaceControl(this, new PhotoListView(photos, this), 1001, "photoList", 9, 21, 352, 124);

    auto* decoration = PlaceControl(this, new QLabel(this), 0, "appIcon", 345, 149, 20, 20);
    const int side = qMin(decoration->width(), decoration->height());
    decoration->setPixmap(icon.pixmap(QSize(side, side)));
    decoration->setAlignment(Qt::AlignCenter);

    statusLine = PlaceControl(this, new QLineEdit(this), 1028, "statusLine", 46, 4, 315, 14);
    statusLine->setReadOnly(true);

    // The label keeps its place but never clips its text, and sits level with the line's text.
    auto* label = new QLabel("Parsing:-", this);
    label->setObjectName("statusLabel");
    QRect labelRect = DialogRect(font(), 11, 3, 28, 8);
    labelRect.setWidth(qMax(labelRect.width(), label->sizeHint().width()));
    labelRect.setTop(statusLine->y());
    labelRect.setHeight(statusLine->height());
    label->setGeometry(labelRect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QWidget* order[] = {geotag,
                        findChild<QPushButton*>("parseButton"),
                        findChild<QPushButton*>("renameButton"),
                        findChild<QPushButton*>("aboutButton"),
                        findChild<QPushButton*>("setupButton"),
                        findChild<QPushButton*>("closeButton"),
                        photoList,
                        statusLine};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    Initialise();
    geotag->setFocus();
}

MainDialog::~MainDialog()
{
    if (waitDepth > 0)
        qApp->removeEventFilter(this);
}

QPushButton* MainDialog::AddButton(int id, const char* name, const char* text, int x)
{
    return PlaceControl(this, new QPushButton(text, this), id, name, x, 153, 40, 14);
}

void MainDialog::Initialise()
{
    setWindowTitle(QString("Pinroute %1 (%2)")
                       .arg(QString::fromStdString(VersionInfo().Query("FileVersion")),
                            QString(kTrackSharingSite)));
    photoList->SetupColumns();
    Settings settings;
    settings.Read();
    photos.LoadFolder(settings.JPGDir);
}

void MainDialog::SetStatus(const std::string& text)
{
    statusLine->setText(QString::fromStdString(text));
    statusLine->repaint();
}

void MainDialog::BeginWait()
{
    if (waitDepth++ > 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
}

void MainDialog::EndWait()
{
    if (waitDepth == 0)
        return;
    if (waitDepth == 1) {
        // Input that arrived during the run is still queued: the filter swallows it while
        // waitDepth still counts this run.
        QCoreApplication::processEvents();
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
    --waitDepth;
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (waitDepth > 0 && IsUserInput(event->type()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void MainDialog::OnGeoTag()
{
    GeoTagRun run;
    run.Execute(photos, *this);
}

void MainDialog::OnParse()
{
    RunParseCommand(photos, false, *this);
}

void MainDialog::OnRename()
{
    RunParseCommand(photos, true, *this);
}

void MainDialog::OnSetUp()
{
    if (!RunSetupDialog(this))
        return;
    Settings settings;
    settings.Read();
    photos.LoadFolder(settings.JPGDir);
}

void MainDialog::OnAbout()
{
    RunAboutDialog(this);
}

void MainDialog::OnClose()
{
    reject();
}

void MainDialog::reject()
{
    DeleteTempFiles();
    QDialog::reject();
}

void MainDialog::closeEvent(QCloseEvent* event)
{
    DeleteTempFiles();
    QDialog::closeEvent(event);
}
