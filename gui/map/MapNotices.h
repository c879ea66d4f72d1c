#pragma once
#include <QString>

class MapBridge;
class MapPanel;
class QAbstractItemView;

// Whether the map has yet to say, the first time it fetches tiles, what the tile server
// learns. Kept in $XDG_STATE_HOME/pinroute (else ~/.local/state/pinroute): said once per user.
bool TilesNoticeDue();
void TilesNoticeSeen();

// The page's requests that aren't about a marker or the track: the notice said, the manual's
// tiles section, and Enter's placing of the list's selected rows at the map's centre.
void ConnectPageRequests(MapBridge& bridge, MapPanel& panel, QAbstractItemView& list);
