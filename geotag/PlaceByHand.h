#pragma once
#include <string>
#include <vector>

#include "photos/PhotoRows.h"
#include "settings/Settings.h"

class Workspace;

// Writes one position into each photo, placed by hand on the map: through the same verified
// write as GeoTag (a sidecar where the kind or the settings want one), journalled as a run of
// its own. A photo that had an elevation keeps it; one without gets none. Returns one outcome
// per path, in order: Tagged or TaggedInSidecar with the tooltip "placed by hand", or
// WriteFailed with the reason.
std::vector<RowOutcome> PlacePhotos(const Settings& settings, const std::string& version,
                                    const std::vector<std::string>& paths, double latitude, double longitude,
                                    Workspace& workspace);
