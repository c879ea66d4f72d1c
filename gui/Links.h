#pragma once

// The addresses the program shows: in the main window's title and in the About box.
inline constexpr const char* kProductSite = "https://pinroute.org";
inline constexpr const char* kTrackSharingSite = "https://www.openstreetmap.org/traces";
inline constexpr const char* kDonationPage = "https://pinroute.org/donate";
