#pragma once
#include <memory>

#include "track/TrackReader.h"

// One factory per track format, each in its own file beside this one; the registry in
// TrackReader.cpp lists them in the order they are tried.
std::unique_ptr<TrackReader> MakeGpxReader();
std::unique_ptr<TrackReader> MakeKmlReader();      // KML and KMZ (a zip holding a KML)
std::unique_ptr<TrackReader> MakeNmeaReader();
std::unique_ptr<TrackReader> MakeTcxReader();
std::unique_ptr<TrackReader> MakeIgcReader();
std::unique_ptr<TrackReader> MakeFitReader();
std::unique_ptr<TrackReader> MakeGoogleReader();   // Google location history, three layouts
std::unique_ptr<TrackReader> MakeCsvReader();
