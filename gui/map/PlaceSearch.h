#pragma once
#include <QLineEdit>
#include <QString>
#include <QTimer>

#include <string>
#include <vector>

#include "coords/Places.h"

class QStringListModel;

// A box above the map to find a town of the geonames data by name (in any language the
// data knows): a list of matches drops down as the user types, the most populous first,
// and choosing one tells where it lies.
class PlaceSearch : public QLineEdit {
    Q_OBJECT
public:
    // language: the place names' language, as the PlaceLanguage setting gives it.
    explicit PlaceSearch(std::string language, QWidget* parent = nullptr);

    // The matches of text now offered, as the list shows them.
    QStringList Offered() const;
    // Chooses the match the list shows as label, as a click on it would.
    bool Choose(const QString& label);

signals:
    // latitude and longitude in degrees; label such as "Kendal, England, United Kingdom".
    void PlaceChosen(double latitude, double longitude, const QString& label);

private:
    void Search();

    std::string language;
    QStringListModel* model = nullptr;
    std::vector<PlaceTown> found;
    QTimer typing;   // the search waits for a pause in the typing
};
