#pragma once
#include <QDialog>

#include "common/VersionInfo.h"

class LinkOpener;

// Shows the About box modally.
void RunAboutDialog(QWidget* parent);

// "About Pinroute": the version, the legal notice and three links. The controls carry
// their ids (property "controlId") and object names: versionLabel 1020, legalLabel 1023,
// siteLink 1022, tracksLink 1026, donateLink 1027, okButton 1.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // version: the block the texts come from; opener: where the links go (null: the desktop).
    explicit AboutDialog(QWidget* parent = nullptr, const VersionInfo& version = VersionInfo(),
                         LinkOpener* opener = nullptr);

private:
    void MakeRoomForTexts();
};
