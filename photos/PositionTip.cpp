#include "photos/PositionTip.h"

#include "coords/OsgbConverter.h"
#include "coords/PositionFormatter.h"

std::string PositionTip(const RowPosition& position)
{
    std::string latLon;
    PositionFormatter().Format(position.latitude, position.longitude, latLon);
    std::string tip = (position.written ? "Position written:\n" : "Position:\n") + latLon;
    // A failed conversion only loses the second line.
    OsgbConverter grid;
    std::string reference;
    if (grid.Format(position.latitude, position.longitude, reference))
        tip += "\n" + (grid.offGrid ? std::string(kOffGridNote) : reference);
    return tip;
}
