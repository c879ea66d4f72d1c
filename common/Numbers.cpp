#include "common/Numbers.h"

#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

locale_t CLocale()
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return cLocale;
}

}  // namespace

double LeadingNumber(const char* text)
{
    if (text == nullptr || CLocale() == locale_t(nullptr))
        return 0;
    return strtod_l(text, nullptr, CLocale());
}

bool LeadingNumber(const std::string& text, double& value)
{
    if (CLocale() == locale_t(nullptr))
        return false;
    char* end = nullptr;
    const double number = strtod_l(text.c_str(), &end, CLocale());
    if (end == text.c_str() || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

bool ParseWholeNumber(const std::string& text, long long low, long long high, long long& value)
{
    size_t p = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (p == text.size())
        return false;
    const bool negative = text[0] == '-';
    // Magnitudes past 2^62 are out of any range asked for; checked before they could overflow.
    const unsigned long long cap = 1ULL << 62;
    unsigned long long magnitude = 0;
    for (; p < text.size(); ++p) {
        if (text[p] < '0' || text[p] > '9')
            return false;
        magnitude = magnitude * 10 + static_cast<unsigned long long>(text[p] - '0');
        if (magnitude > cap)
            return false;
    }
    const long long number = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    if (number < low || number > high)
        return false;
    value = number;
    return true;
}
