#pragma once
#include <QDialog>

#include "common/VersionInfo.h"

class LinkEdit;
class LinkOpener;
class QLabel;

// Shows the About box modally.
void RunAboutDialog(QWidget* parent);

// "About Pinroute": the version, the legal notice and three links.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // version: the block the texts come from; opener: where the links go (null: the desktop).
    explicit AboutDialog(QWidget* parent = nullptr, const VersionInfo& version = VersionInfo(),
                         LinkOpener* opener = nullptr);

    QString VersionText() const;
    QString LegalText() const;
    LinkEdit* SiteLink() const { return siteLink; }
    LinkEdit* TracksLink() const { return tracksLink; }
    LinkEdit* DonateLink() const { return donateLink; }

private:
    void MakeRoomForTexts();

    QLabel* versionLabel = nullptr;
    QLabel* legalLabel = nullptr;
    LinkEdit* siteLink = nullptr;
    LinkEdit* tracksLink = nullptr;
    LinkEdit* donateLink = nullptr;
};
