#pragma once
#include <string>
#include <vector>

#include "support/TrackKinds.h"

// The same points in the other Google location history layouts (GoogleRecordsText in
// TrackKinds.h writes Records.json). None of them carries an elevation.

// Semantic Location History (2022_MAY.json): one activitySegment from the first point to
// the last, the points between as its simplifiedRawPath.
std::string GoogleSemanticText(const std::vector<KindPoint>& points);

// The Android Timeline export: one semanticSegment whose timelinePath holds the points,
// as "51.5235000°, -0.0890000°", their times in local time offsetMinutes east of UTC.
std::string GooglePhoneText(const std::vector<KindPoint>& points, int offsetMinutes);

// The iOS Timeline export: a top-level array of one entry whose timelinePath holds the
// points as "geo:lat,lon", each at whole minutes after the entry's start (so the points
// must lie whole minutes apart).
std::string GoogleIosText(const std::vector<KindPoint>& points, int offsetMinutes);

// A time as the phone exports write it: "2024-05-01T11:00:00.000+01:00".
std::string GoogleLocalTime(int64_t time, int offsetMinutes);
