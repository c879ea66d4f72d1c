#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

// INI reading and writing that keeps everything else in the file as it was, byte for byte.
// Section and key names match without regard to ASCII case; the first section of a name,
// and the first occurrence of a key in it, win. Lines end in "\n" or "\r\n"; a UTF-8 byte
// order mark is kept but not read. Only regular files are opened, so a FIFO or a device
// given as the file never blocks.

// Key and value pairs, in the order new keys are added to their section.
using IniEntries = std::vector<std::pair<std::string, std::string>>;

// The values of keys in section, from one read of the file: values[i] belongs to keys[i]
// and is std::nullopt when that key is missing. A missing file is no failure and reads as
// an empty one. False with the system's reason when the file exists but can't be read or
// is not a regular file; every value is then missing.
bool IniReadValues(const std::string& path, const std::string& section,
                   const std::vector<std::string>& keys,
                   std::vector<std::optional<std::string>>& values, std::string& reason);

// Every key of the first section of that name with its value, in the file's order (a
// key's first line wins). A missing file or section gives none. False with the system's
// reason when the file exists but can't be read.
bool IniReadSection(const std::string& path, const std::string& section, IniEntries& entries,
                    std::string& reason);

// One key's value, or fallback when the file, the section or the key is missing.
std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback);

// The leading decimal number of the key's value (0 when it has none), or fallback.
int IniReadInt(const std::string& path, const std::string& section, const std::string& key,
               int fallback);

// The leading decimal number of a value, optionally signed, clamped to the int range;
// 0 when the value doesn't start with one.
int IniNumber(const std::string& value);

// Sets every key of entries in section with one rewrite of the file: a key that is there
// gets its new value in place, the others are appended to the section (the section to the
// file). The new content goes to a temporary file in the same folder, is flushed, and is
// renamed over the file, so the file holds the old or the new content, never a part.
// A value with blanks at either end, or quotes around it, is written in quotes so that it
// reads back as given. Temporary files that a killed save left beside the file are
// removed. False with the reason (the system's text, such as "Permission denied") when a
// name or value would break the file's structure, the file can't be read, or the write
// fails; the file is then unchanged. The cost is linear in the file's size.
bool IniWriteValues(const std::string& path, const std::string& section,
                    const IniEntries& entries, std::string& reason);

// IniWriteValues for several sections at once, in one rewrite of the file; sections with
// no entries are left as they are.
bool IniWriteSections(const std::string& path, const std::vector<std::pair<std::string, IniEntries>>& sections,
                      std::string& reason);

// IniWriteValues for one key, without the reason.
bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);
