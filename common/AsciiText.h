#pragma once
#include <cstddef>
#include <string>

// Letter case folded for ASCII only. Not tolower or strcasecmp: they follow LC_CTYPE, and
// under Turkish rules 'I' does not pair with 'i'.
inline char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when a and b are equal, ASCII letters compared without regard to case.
inline bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

// True when text begins with prefix, ASCII letters compared without regard to case.
inline bool StartsWithIgnoringAsciiCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size()
        && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// Negative, zero or positive as a sorts before, with or after b, ignoring ASCII case.
inline int CompareIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(FoldAscii(a[i]));
        const unsigned char y = static_cast<unsigned char>(FoldAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
