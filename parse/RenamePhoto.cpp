#include "parse/RenamePhoto.h"
// Placeholder until the rename step lands.
bool RenamePhoto(const std::string&, const std::string&, int, int, int32_t, int32_t, const std::string&,
                 const std::string&, std::string& newName, std::string& message)
{ newName.clear(); message = "Unknown Error"; return false; }
