#include "settings/Settings.h"

#include <cstdio>

#include "common/ModulePath.h"
#include "settings/IniFile.h"

namespace {
const char kSection[] = "Config";
}

void Settings::Read()
{
    std::string path;
    if (!ModuleFilePath(".ini", true, path))
        return;
    JPGDir = IniReadString(path, kSection, "JPGDir", "");
    if (!JPGDir.empty() && JPGDir.back() != '/')
        JPGDir += '/';
    GPXPath = IniReadString(path, kSection, "GPXPath", "");
    Date = IniReadInt(path, kSection, "Date", 1);
    Posn = IniReadInt(path, kSection, "Posn", 1);
    DisplayType = IniReadInt(path, kSection, "DisplayType", 1);
    OffsetMinutes = IniReadInt(path, kSection, "OffsetMinutes", 0);
}

// A failed write leaves the file as it was; nothing is reported.
void Settings::WriteString(const std::string& section, const std::string& key,
                           const std::string& text)
{
    std::string path;
    if (!ModuleFilePath(".ini", true, path))
        return;
    IniWriteString(path, section, key, text);
}

void Settings::WriteInt(const std::string& section, const std::string& key, int32_t number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(number));
    WriteString(section, key, text);
}
