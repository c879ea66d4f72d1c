#include "gui/Translations.h"

#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString Translated(const Text& text)
{
    std::vector<std::string> args;
    args.reserve(text.args.size());
    for (const Text& arg : text.args)
        args.push_back(Translated(arg).toStdString());
    if (!text.context)
        return QString::fromStdString(FillText(text.source, args));
    // The catalogues hold the English singular and plural as two entries, picked by English
    // rules; German and French agree for every count above 1.
    const char* source = text.count == 1 && text.one ? text.one : text.source.c_str();
    const QString translated = QCoreApplication::translate(text.context, source);
    return QString::fromStdString(FillText(translated.toStdString(), args, text.count));
}

QString TranslationsFolder()
{
    const QString given = qEnvironmentVariable("PINROUTE_TRANSLATIONS");
    if (!given.isEmpty())
        return given;
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString beside = programFolder + QStringLiteral("/translations");
    if (QFileInfo(beside).isDir())
        return beside;
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/pinroute/translations"));
}

bool LoadTranslations(QCoreApplication& app)
{
    const QLocale locale;
    // Parents of the translators: they live as long as the application.
    auto* qtBase = new QTranslator(&app);
    if (qtBase->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtBase);
    auto* own = new QTranslator(&app);
    const bool loaded = own->load(locale, QStringLiteral("pinroute"), QStringLiteral("_"), TranslationsFolder());
    if (loaded)
        QCoreApplication::installTranslator(own);
    return loaded || locale.language() == QLocale::English || locale.language() == QLocale::C;
}
