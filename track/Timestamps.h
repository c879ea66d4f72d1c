#pragma once
#include <cstdint>
#include <string>

// Time counts are seconds since 1970-01-01 00:00:00, with the fields read as UTC.
// Only differences between counts carry meaning; -1 means "no time" (a text that
// ends early, or a moment outside 1970-01-01 00:00:00 .. 2038-01-19 03:14:07).

// A GPX time such as 2006-05-01T10:15:30Z, 2006-05-01T11:15:30+01:00 or
// 2006-05-01T10:15:30.750Z. A zone offset "+hh:mm", "+hhmm" or "+hh" (or "-") is applied,
// also after a fraction or one blank. Fractions are dropped, not rounded.
int32_t ParseGpxTime(const char* text);
int32_t ParseGpxTime(const std::string& text);

// The date and time words of an EXIF listing: "2006:05:01" and "10:15:30".
// Separators are not compared; anything after the seconds is ignored.
int32_t ParseExifDateTime(const std::string& dateText, const std::string& timeText);
