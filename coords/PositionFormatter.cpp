#include "coords/PositionFormatter.h"

#include <charconv>
#include <vector>

#include "coords/OsgbConverter.h"

namespace {

// Appends value as "%f" would print it (fixed, six decimals, rounded to nearest), but
// independent of LC_NUMERIC: the decimal separator is always ".".
void AppendFixed6(double value, std::string& out)
{
    std::vector<char> buffer(64);
    for (;;) {
        auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, 6);
        if (result.ec == std::errc()) {
            out.append(buffer.data(), result.ptr);
            return;
        }
        buffer.resize(buffer.size() * 2);   // a huge value from a malformed EXIF entry
    }
}

}  // namespace

bool PositionFormatter::Format(double latitude, double longitude, std::string& out)
{
    out.clear();
    AppendFixed6(latitude, out);
    out += ' ';
    AppendFixed6(longitude, out);
    return true;
}

std::unique_ptr<PositionFormatter> FormatterFor(int32_t displayType)
{
    if (displayType == static_cast<int32_t>(DisplayType::Osgb))
        return std::make_unique<OsgbConverter>();
    return std::make_unique<PositionFormatter>();
}
