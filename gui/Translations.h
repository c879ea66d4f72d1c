#pragma once
#include <QString>

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
