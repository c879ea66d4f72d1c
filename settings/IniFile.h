#pragma once
#include <string>

// INI reading and writing that keeps everything else in the file as it was.
// Section and key names match without regard to case; the first occurrence wins.

// The key's value, or fallback when the file, the section or the key is missing.
std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback);

// The leading decimal number of the key's value (0 when it has none), or fallback.
int IniReadInt(const std::string& path, const std::string& section, const std::string& key,
               int fallback);

// Replaces the key's value in place, or appends the key to its section (the section to
// the file). Writes a temporary file beside it and renames it over; false on failure.
bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);
