#pragma once
#include <string>

// The longest decimal number at the start of text, after white space ("12.5 m" is 12.5),
// with "." as the decimal point whatever the user's LC_NUMERIC; 0 when there is none.
double LeadingNumber(const char* text);

// True when text starts (after white space) with such a number and it is finite; value is
// then that number.
bool LeadingNumber(const std::string& text, double& value);
