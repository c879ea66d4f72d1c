#include "gui/map/PlaceSearch.h"

#include <QCompleter>
#include <QStringListModel>

namespace {

const int kMatches = 12;
const int kPauseMs = 150;

}  // namespace

PlaceSearch::PlaceSearch(std::string language, QWidget* parent)
    : QLineEdit(parent), language(PlaceLanguageFor(language))
{
    setObjectName(QStringLiteral("placeSearch"));
    setPlaceholderText(tr("Find a town"));
    setAccessibleName(tr("Find a town"));
    setClearButtonEnabled(true);
    setToolTip(tr("Type a town's name to centre the map on it; with photos selected, you can place them there"));
    model = new QStringListModel(this);
    auto* completer = new QCompleter(model, this);
    // The data matches names in other languages too: every match it gives is shown.
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    setCompleter(completer);
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this, &PlaceSearch::Choose);
    connect(this, &QLineEdit::returnPressed, this, [this] {
        Search();
        if (!found.empty())
            Choose(Offered().front());
    });
    typing.setSingleShot(true);
    typing.setInterval(kPauseMs);
    connect(&typing, &QTimer::timeout, this, &PlaceSearch::Search);
    connect(this, &QLineEdit::textEdited, this, [this] { typing.start(); });
}

void PlaceSearch::Search()
{
    typing.stop();
    found = PlacesIn(language).Find(text().trimmed().toStdString(), kMatches);
    QStringList labels;
    for (const PlaceTown& town : found)
        labels << QString::fromStdString(PlaceLabel(town.names));
    model->setStringList(labels);
    if (!labels.isEmpty() && hasFocus())
        completer()->complete();
}

QStringList PlaceSearch::Offered() const
{
    return model->stringList();
}

bool PlaceSearch::Choose(const QString& label)
{
    for (const PlaceTown& town : found) {
        if (QString::fromStdString(PlaceLabel(town.names)) == label) {
            emit PlaceChosen(town.latitude, town.longitude, label);
            return true;
        }
    }
    return false;
}
