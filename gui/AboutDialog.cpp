#include "gui/AboutDialog.h"

#include <algorithm>
#include <utility>

#include <QLabel>
#include <QPushButton>

#include "gui/DialogUnits.h"
#include "gui/Icons.h"
#include "gui/LinkEdit.h"
#include "gui/Links.h"

namespace {

QLabel* Label(QWidget* dialog, const QString& text, int id, const char* name, int x, int y,
              int w, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* label = PlaceControl(dialog, new QLabel(text, dialog), id, name, x, y, w, 8);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

}  // namespace

void RunAboutDialog(QWidget* parent)
{
    AboutDialog dialog(parent);
    dialog.exec();
}

AboutDialog::AboutDialog(QWidget* parent, const VersionInfo& version, LinkOpener* opener)
    : QDialog(parent)
{
    setWindowTitle(tr("About Pinroute"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(DialogRect(font(), 0, 0, 168, 114).size());   // the table's 106, and a line for the credit

    auto* icon = PlaceControl(this, new QLabel(this), 0, "appIcon", 146, 86, 16, 16);
    icon->setPixmap(AppIcon().pixmap(icon->size()));
    Label(this, tr("Pinroute Version"), 0, "versionCaption", 11, 10, 71);
    QLabel* versionLabel = Label(this, QString(), 1020, "versionLabel", 82, 10, 59);
    QLabel* legalLabel = Label(this, QString(), 1023, "legalLabel", 11, 25, 119);
    Label(this, tr("Web Site:-"), 0, "siteCaption", 7, 40, 59, Qt::AlignRight);
    auto* siteLink = PlaceControl(this, new LinkEdit(this), 1022, "siteLink", 73, 39, 85, 14);
    siteLink->setAccessibleName(tr("Web site"));
    Label(this, tr("Share GPS tracks:-"), 0, "tracksCaption", 7, 55, 59, Qt::AlignRight);
    auto* tracksLink =
        PlaceControl(this, new LinkEdit(this), 1026, "tracksLink", 73, 55, 85, 14);
    tracksLink->setAccessibleName(tr("Share GPS tracks"));
    tracksLink->setFocusPolicy(Qt::ClickFocus);   // no tab stop
    Label(this, tr("Donate:-"), 0, "donateCaption", 7, 70, 59, Qt::AlignRight);
    auto* donateLink =
        PlaceControl(this, new LinkEdit(this), 1027, "donateLink", 73, 69, 85, 14);
    donateLink->setAccessibleName(tr("Donate"));
    auto* ok = PlaceControl(this, new QPushButton(tr("OK"), this), 1, "okButton", 59, 85, 50, 14);
    QLabel* credit = Label(this, tr("Place names: geonames.org, CC BY 4.0"), 0, "placesCredit", 11, 103, 130);
    credit->setToolTip(tr("The towns, regions and countries Pinroute writes come from the GeoNames data "
                          "(geonames.org), under the Creative Commons Attribution 4.0 licence, as Debian's "
                          "libgeonames0 carries it"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(siteLink, donateLink);
    setTabOrder(donateLink, ok);

    versionLabel->setText(QString::fromStdString(version.Query("FileVersion") + " " +
                                                 version.Query("SpecialBuild")));
#ifndef PINROUTE_MAP
    // A build without QtWebEngine says so where the version is read.
    versionLabel->setText(tr("%1 (built without the map)").arg(versionLabel->text()));
    versionLabel->setToolTip(tr("Map: not built in"));
#endif
    legalLabel->setText(QString::fromStdString(version.Query("LegalCopyright")));
    legalLabel->setToolTip(legalLabel->text() + u'\n'
                           + tr("Pinroute is free software under the GNU General Public License,"
                                " version 3 or later, and comes with ABSOLUTELY NO WARRANTY."));

    // The texts go in before the boxes are fitted to them.
    const std::pair<LinkEdit*, const char*> links[] = {
        {siteLink, kProductSite}, {tracksLink, kTrackSharingSite}, {donateLink, kDonationPage}};
    for (const auto& [link, address] : links) {
        if (opener)
            link->SetOpener(opener);
        link->SetLink(QString::fromUtf8(address));
    }
    MakeRoomForTexts();
}

// The layout's sizes suit the font it was drawn for. A wider font would cut the texts:
// widen the caption column (moving the links right) and the dialog as they need.
void AboutDialog::MakeRoomForTexts()
{
    const QRect margin = DialogRect(font(), 0, 0, 7, 0);
    int shift = 0;
    for (auto* caption : findChildren<QLabel*>()) {
        if (caption->alignment() & Qt::AlignRight)
            shift = std::max(shift, caption->sizeHint().width() - caption->width());
    }
    int right = 0;
    for (auto* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (auto* label = qobject_cast<QLabel*>(child)) {
            if (label->alignment() & Qt::AlignRight)
                label->resize(label->width() + shift, label->height());
            else if (label->pixmap().isNull())
                label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        } else if (qobject_cast<LinkEdit*>(child)) {
            child->move(child->x() + shift, child->y());
        }
        if (!qobject_cast<QPushButton*>(child) && (!qobject_cast<QLabel*>(child) ||
                                                   static_cast<QLabel*>(child)->pixmap().isNull()))
            right = std::max(right, child->geometry().right() + 1);
    }
    const int grow = right + margin.width() - width();
    if (grow <= 0)
        return;
    // The OK button stays centred and the icon in the corner.
    for (auto* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QPushButton*>(child))
            child->move(child->x() + grow / 2, child->y());
        else if (auto* label = qobject_cast<QLabel*>(child); label && !label->pixmap().isNull())
            child->move(child->x() + grow, child->y());
    }
    setFixedWidth(width() + grow);
}
