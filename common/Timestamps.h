#pragma once
#include <cstdint>
#include <string>

// Time counts are seconds since 1970-01-01 00:00:00, with the fields read as UTC.
// Only differences between counts carry meaning; -1 means "no time" (a text that
// ends early, or a moment outside 1970-01-01 00:00:00 .. 9999-12-31 23:59:59). Counts are
// 64-bit: 2040 is a year like any other.

// A GPX time such as 2006-05-01T10:15:30Z, 2006-05-01T11:15:30+01:00 or
// 2006-05-01T10:15:30.750Z. A zone offset "+hh:mm", "+hhmm" or "+hh" (or "-") is applied,
// also after a fraction or one blank. The fraction is not in the count: millis, when given,
// gets it in whole milliseconds (0 to 999, truncated).
int64_t ParseGpxTime(const char* text, int* millis = nullptr);
int64_t ParseGpxTime(const std::string& text, int* millis = nullptr);

// The date and time words of an EXIF listing: "2006:05:01" and "10:15:30".
// Separators are not compared; anything after the seconds is ignored.
int64_t ParseExifDateTime(const std::string& dateText, const std::string& timeText);
