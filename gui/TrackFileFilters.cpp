// The open-file filters of Set-up's track box.
#include "gui/SetupDialog.h"

#include <QStringList>

namespace {

// A name pattern for an extension in any letter case, "*.[gG][pP][xX]".
QString AnyCasePattern(const QString& extension)
{
    QString pattern = QStringLiteral("*.");
    for (const QChar c : extension)
        pattern += c.isLetter() ? QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper()) : QString(c);
    return pattern;
}

// A file-dialog filter that shows as "shown (*.gpx *.kml)". The dialogs take the patterns
// from the last parentheses and, with the details hidden, show what comes before them;
// the any-case patterns go there so that GTK's dialog, which compares names by case, lists
// a.gpx and B.GPX alike.
QString Filter(const QString& shown, const QStringList& extensions)
{
    QStringList plain, anyCase;
    for (const QString& extension : extensions) {
        plain << QStringLiteral("*.") + extension;
        anyCase << AnyCasePattern(extension);
    }
    return QStringLiteral("%1 (%2) (%3)").arg(shown, plain.join(u' '), anyCase.join(u' '));
}

}  // namespace

QString TrackFileFilters()
{
    QStringList kinds;
    for (const char* kind : {"gpx", "kml", "kmz", "nmea", "nma", "log", "txt", "tcx", "igc", "fit", "json", "csv"})
        kinds << QLatin1String(kind);
    // "*" twice: shown with its details hidden, the filter keeps its "(*)".
    return QStringList{Filter(SetupDialog::tr("Track files"), kinds), Filter(SetupDialog::tr("GPX files"), {QStringLiteral("gpx")}),
                       SetupDialog::tr("All files (*)") + QStringLiteral(" (*)")}
        .join(QStringLiteral(";;"));
}
