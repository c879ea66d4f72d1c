#include "exif/ExifListing.h"
// Placeholder until the listing reader lands.
std::vector<std::string> ListingCommand(const std::string& p) { return {"exiv2", "-PEkycv", "--", p}; }
int32_t ReadCaptureTime(const std::string&) { return -1; }
void ParseRational(const std::string&, long& n, long& d) { n = 0; d = 1; }
bool ExifListing::Read(const std::string&) { return false; }
void ExifListing::SplitFields(const std::string&) {}
int ExifListing::RefSign(const std::string&) { return 1; }
double ExifListing::Degrees(const std::string&) { return 0; }
