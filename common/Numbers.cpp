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
