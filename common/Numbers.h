#pragma once
#include <string>

// The longest decimal number at the start of text, after white space ("12.5 m" is 12.5),
// with "." as the decimal point whatever the user's LC_NUMERIC; 0 when there is none.
double LeadingNumber(const char* text);

// True when text starts (after white space) with such a number and it is finite; value is
// then that number.
bool LeadingNumber(const std::string& text, double& value);

// A whole number in [low, high]: an optional sign and decimal digits, nothing else (no
// blanks, no "1.5", no "1e3"). False for anything else; value is then unchanged.
bool ParseWholeNumber(const std::string& text, long long low, long long high, long long& value);
