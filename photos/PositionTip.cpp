#include "photos/PositionTip.h"

#include "coords/OsgbConverter.h"
#include "coords/PositionFormatter.h"

Text PositionTipText(const RowPosition& position)
{
    std::string latLon;
    PositionFormatter().Format(position.latitude, position.longitude, latLon);
    std::vector<Text> lines{position.written ? Text("Tips", QT_TRANSLATE_NOOP("Tips", "Position written:"))
                                             : Text("Tips", QT_TRANSLATE_NOOP("Tips", "Position:")),
                            latLon};
    // A failed conversion only loses the last line.
    OsgbConverter grid;
    std::string reference;
    if (grid.Format(position.latitude, position.longitude, reference))
        lines.push_back(grid.offGrid ? Text("Tips", kOffGridNote) : Text(reference));
    return Text::Joined(lines, "\n");
}
