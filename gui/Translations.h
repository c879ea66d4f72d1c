#pragma once
#include <cstdint>

#include <QCoreApplication>
#include <QString>

#include "common/OffsetText.h"

#include "common/Text.h"

class QCoreApplication;

// The text in the user's language: its source from the loaded catalogue (English where the
// catalogue lacks it), its arguments translated and filled in.
QString Translated(const Text& text);

// The folder of the program's catalogues: "translations" beside the program in a build
// folder, else the install tree's share/pinroute/translations; PINROUTE_TRANSLATIONS overrides.
QString TranslationsFolder();

// Installs the catalogues for the user's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG):
// Pinroute's own and Qt's for its standard buttons, each where it exists. False when
// Pinroute's own was wanted but not found; English then.
bool LoadTranslations(QCoreApplication& app);

// A clock offset with its unit, as Set-up's box takes it: "+60 minutes", "-58:20 (min:s)",
// "+1:02:20 (h:min:s)".
inline QString OffsetLabel(int64_t seconds)
{
    const QString text = QString::fromStdString(OffsetText(seconds));
    if (seconds % 60 == 0)
        return seconds == 60 || seconds == -60 ? QCoreApplication::translate("Offset", "%1 minute").arg(text)
                                               : QCoreApplication::translate("Offset", "%1 minutes").arg(text);
    return seconds > -3600 && seconds < 3600 ? QCoreApplication::translate("Offset", "%1 (min:s)").arg(text)
                                             : QCoreApplication::translate("Offset", "%1 (h:min:s)").arg(text);
}
