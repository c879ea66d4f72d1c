#include "common/Text.h"

Text Text::Counted(const char* context, const char* one, const char* source, int64_t count, std::vector<Text> args)
{
    Text text(context, source, std::move(args));
    text.one = one;
    text.count = count;
    return text;
}

Text Text::Joined(const std::vector<Text>& parts, const char* separator)
{
    Text joined;
    for (const Text& part : parts) {
        if (part.empty())
            continue;
        if (!joined.args.empty())
            joined.source += separator;
        joined.args.push_back(part);
        joined.source += "%" + std::to_string(joined.args.size());
    }
    if (joined.args.size() == 1)
        return joined.args.front();
    return joined;
}

std::string Text::English() const
{
    std::vector<std::string> filled;
    filled.reserve(args.size());
    for (const Text& arg : args)
        filled.push_back(arg.English());
    return FillText(count == 1 && one ? std::string(one) : source, filled, count);
}

std::string FillText(const std::string& source, const std::vector<std::string>& args, int64_t count)
{
    if (args.empty() && count < 0)
        return source;
    std::string out;
    out.reserve(source.size());
    for (size_t i = 0; i < source.size(); ++i) {
        const char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (source[i] == '%' && next >= '1' && next <= '9' && static_cast<size_t>(next - '1') < args.size()) {
            out += args[static_cast<size_t>(next - '1')];
            ++i;
        } else if (source[i] == '%' && next == 'n' && count >= 0) {
            out += std::to_string(count);
            ++i;
        } else {
            out += source[i];
        }
    }
    return out;
}
