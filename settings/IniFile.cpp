#include "settings/IniFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>

#include <sys/stat.h>

#include "common/AsciiText.h"
#include "common/ModulePath.h"
#include "settings/IniStorage.h"

namespace {

enum class Kind { Blank, Comment, Section, Key, Other };

// One line of the file, as offsets into its text. A key line's value runs from
// valueBegin to end. end excludes the line ending ("\n", "\r\n", or a lone "\r" that ends
// the file); next is where the following line starts.
struct Line {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
    Kind kind = Kind::Other;
    size_t nameBegin = 0;   // the section's or the key's name, trimmed
    size_t nameEnd = 0;
    size_t valueBegin = 0;
};

// Where a section lies: its first header, the lines up to the next header, and the first
// line of each wanted key in it.
struct SectionSpan {
    size_t header = 0;   // lines.size() when the file has no such section
    size_t end = 0;
    size_t lastEntry = 0;   // the last key (or unreadable) line, else the header
    std::vector<size_t> keyLines;   // one per wanted key; npos when it is missing
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Narrows [first, last) of text to leave out blanks at either end.
void TrimRange(const std::string& text, size_t& first, size_t& last)
{
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
}

std::string Trim(const std::string& text)
{
    size_t first = 0, last = text.size();
    TrimRange(text, first, last);
    return text.substr(first, last - first);
}

std::string Folded(std::string text)
{
    for (char& c : text)
        c = FoldAscii(c);
    return text;
}

// True when the line's name is name, ignoring ASCII case; compared in place.
bool NameIs(const std::string& text, const Line& line, const std::string& name)
{
    if (line.nameEnd - line.nameBegin != name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (FoldAscii(text[line.nameBegin + i]) != FoldAscii(name[i]))
            return false;
    }
    return true;
}


// The first c in [from, end) of text, or npos; never looks past end.
size_t FindBefore(const std::string& text, char c, size_t from, size_t end)
{
    const void* found = std::memchr(text.data() + from, c, end - from);
    return found ? static_cast<const char*>(found) - text.data() : std::string::npos;
}

void Classify(const std::string& text, Line& line)
{
    size_t p = line.begin;
    while (p < line.end && IsBlank(text[p])) ++p;
    if (p == line.end) {
        line.kind = Kind::Blank;
        return;
    }
    if (text[p] == ';' || text[p] == '#') {
        line.kind = Kind::Comment;
        return;
    }
    if (text[p] == '[') {
        const size_t close = FindBefore(text, ']', p, line.end);
        if (close != std::string::npos) {
            line.kind = Kind::Section;
            line.nameBegin = p + 1;
            line.nameEnd = close;
            TrimRange(text, line.nameBegin, line.nameEnd);
        }
        return;
    }
    const size_t equals = FindBefore(text, '=', p, line.end);
    if (equals == std::string::npos)
        return;
    line.nameBegin = p;
    line.nameEnd = equals;
    TrimRange(text, line.nameBegin, line.nameEnd);
    if (line.nameEnd > line.nameBegin) {
        line.kind = Kind::Key;
        line.valueBegin = equals + 1;
    }
}

std::vector<Line> Parse(const std::string& text)
{
    std::vector<Line> lines;
    lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        const size_t newline = text.find('\n', pos);
        line.next = newline == std::string::npos ? text.size() : newline + 1;
        line.end = newline == std::string::npos ? text.size() : newline;
        // A CR before the "\n", or a lone one that ends the file (a line ending cut short).
        if (line.end > pos && text[line.end - 1] == '\r')
            --line.end;
        Classify(text, line);
        lines.push_back(std::move(line));
        pos = lines.back().next;
    }
    return lines;
}

// A hash of a name that ignores ASCII case (64-bit FNV-1a over the folded bytes).
uint64_t NameHash(const char* name, size_t size)
{
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(FoldAscii(name[i]))) * 1099511628211ull;
    return hash;
}

// The section's first header and its extent, and the first line of each of keys in it.
// Linear in the number of lines, however many keys are wanted.
SectionSpan FindSection(const std::string& text, const std::vector<Line>& lines,
                        const std::string& section, const std::vector<std::string>& keys)
{
    SectionSpan span;
    span.keyLines.assign(keys.size(), std::string::npos);
    span.header = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Kind::Section && NameIs(text, lines[i], section)) {
            span.header = i;
            break;
        }
    }
    span.end = span.lastEntry = span.header;
    if (span.header == lines.size())
        return span;
    std::unordered_multimap<uint64_t, size_t> wanted;
    for (size_t k = 0; k < keys.size(); ++k)
        wanted.emplace(NameHash(keys[k].data(), keys[k].size()), k);
    for (span.end = span.header + 1; span.end < lines.size(); ++span.end) {
        const Line& line = lines[span.end];
        if (line.kind == Kind::Section)
            break;
        if (line.kind == Kind::Key || line.kind == Kind::Other)
            span.lastEntry = span.end;
        if (line.kind != Kind::Key)
            continue;
        const auto range = wanted.equal_range(
            NameHash(text.data() + line.nameBegin, line.nameEnd - line.nameBegin));
        for (auto it = range.first; it != range.second; ++it) {
            if (span.keyLines[it->second] == std::string::npos && NameIs(text, line, keys[it->second]))
                span.keyLines[it->second] = span.end;   // the first occurrence wins
        }
    }
    return span;
}

// The value as a hand-edited file may hold it: blanks and tabs around it trimmed, then
// one pair of matching double or single quotes around it taken off.
std::string CleanValue(const std::string& raw)
{
    std::string value = Trim(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// True when CleanValue would change value: blanks at either end, or quotes around it.
bool NeedsQuotes(const std::string& value)
{
    if (value.empty())
        return false;
    const char first = value.front(), last = value.back();
    return IsBlank(first) || IsBlank(last)
        || (value.size() >= 2 && (first == '"' || first == '\'') && last == first);
}

// Appends value, quoted when needed so that CleanValue gives it back.
void AppendValue(std::string& out, const std::string& value)
{
    if (NeedsQuotes(value))
        out.append(1, '"').append(value).append(1, '"');
    else
        out.append(value);
}


bool BreaksLine(const std::string& s)
{
    return s.find_first_of("\r\n") != std::string::npos;
}

// Why section, key or value would change the file's structure when written; "" when
// they wouldn't.
std::string StructureProblem(const std::string& section, const std::string& key,
                             const std::string& value)
{
    const std::string trimmedKey = Trim(key), trimmedSection = Trim(section);
    if (trimmedKey.empty() || trimmedSection.empty())
        return "a section or key name is empty";
    if (BreaksLine(section) || BreaksLine(key) || BreaksLine(value))
        return "a name or value holds a line break";
    if (section.find(']') != std::string::npos)
        return "a section name holds \"]\"";
    if (key.find('=') != std::string::npos)
        return "a key name holds \"=\"";
    const char first = trimmedKey.front();
    if (first == '[' || first == ';' || first == '#')
        return "a key name starts with \"[\", \";\" or \"#\"";
    return {};
}

}  // namespace

namespace {

// The file's own line ending, judged by its first line; "\n" for a new file.
std::string LineEnding(const std::string& text)
{
    const size_t newline = text.find('\n');
    return newline != std::string::npos && newline > 0 && text[newline - 1] == '\r' ? "\r\n"
                                                                                    : "\n";
}

// What ends the file's last line before anything is added after it: nothing when it has
// its ending, "\n" after a lone CR (a "\r\n" cut short), else the file's line ending.
std::string MissingEnding(const std::string& text, const std::string& eol)
{
    if (text.empty() || text.back() == '\n')
        return {};
    return text.back() == '\r' ? "\n" : eol;
}

// The text with every entry set: replaced in place, appended after the section's last
// entry (so blank lines and comments before the next section stay where they are), or
// in a new section at the end. One pass over the lines, whatever the number of entries.
std::string SetKeys(const std::string& text, const std::string& section, const IniEntries& entries)
{
    const std::vector<Line> lines = Parse(text);
    const std::string eol = LineEnding(text);
    std::vector<std::string> keys;
    for (const auto& entry : entries)
        keys.push_back(Trim(entry.first));
    const SectionSpan span = FindSection(text, lines, section, keys);

    std::vector<std::pair<size_t, const std::string*>> replaced;   // line, new value
    std::string appended;
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& [key, value] = entries[i];
        if (span.keyLines[i] != std::string::npos) {
            replaced.emplace_back(span.keyLines[i], &value);
        } else {
            AppendValue(appended.append(key).append(1, '='), value);
            appended.append(eol);
        }
    }
    std::sort(replaced.begin(), replaced.end());

    std::string result;
    result.reserve(text.size() + appended.size() + section.size() + 8);
    size_t copied = 0;
    for (const auto& [index, value] : replaced) {
        const Line& line = lines[index];
        size_t start = line.valueBegin;
        while (start < line.end && IsBlank(text[start])) ++start;   // keeps "key = " spacing
        result.append(text, copied, start - copied);
        AppendValue(result, *value);
        copied = line.end;
    }
    if (appended.empty())
        return result.append(text, copied);
    if (span.header < lines.size()) {
        const size_t at = lines[span.lastEntry].next;
        result.append(text, copied, at - copied);
        if (at == text.size())
            result += MissingEnding(text, eol);
        return result.append(appended).append(text, at);
    }
    result.append(text, copied);
    result += MissingEnding(text, eol);
    if (!lines.empty() && lines.back().kind != Kind::Blank)
        result += eol;   // a blank line between the last section and the new one
    return result.append("[").append(section).append("]").append(eol).append(appended);
}

// The entries with each key once (names compared ignoring case): the first place, and the
// last value (the first with firstValue, as a reader takes it).
IniEntries Unique(const IniEntries& entries, bool firstValue = false)
{
    IniEntries unique;
    std::unordered_map<std::string, size_t> seen;
    for (const auto& entry : entries) {
        const auto [found, added] = seen.emplace(Folded(Trim(entry.first)), unique.size());
        if (added)
            unique.push_back(entry);
        else if (!firstValue)
            unique[found->second].second = entry.second;
    }
    return unique;
}

}  // namespace

bool IniReadValues(const std::string& path, const std::string& section,
                   const std::vector<std::string>& keys,
                   std::vector<std::optional<std::string>>& values, std::string& reason)
{
    values.assign(keys.size(), std::nullopt);
    try {
        std::string text;
        bool exists = false;
        struct stat info;
        if (!ReadWholeFile(path, text, exists, info, reason))
            return false;
        const std::vector<Line> lines = Parse(text);
        std::vector<std::string> names;
        for (const std::string& key : keys)
            names.push_back(Trim(key));
        const SectionSpan span = FindSection(text, lines, section, names);
        for (size_t i = 0; i < keys.size(); ++i) {
            if (span.keyLines[i] == std::string::npos)
                continue;
            const Line& line = lines[span.keyLines[i]];
            values[i] = CleanValue(text.substr(line.valueBegin, line.end - line.valueBegin));
        }
        return true;
    } catch (const std::bad_alloc&) {
        values.assign(keys.size(), std::nullopt);
        reason = SystemErrorText(ENOMEM, 1024);
        return false;
    }
}

bool IniReadSection(const std::string& path, const std::string& section, IniEntries& entries,
                    std::string& reason)
{
    entries.clear();
    std::string text;
    bool exists = false;
    struct stat info;
    if (!ReadWholeFile(path, text, exists, info, reason))
        return false;
    const std::vector<Line> lines = Parse(text);
    const SectionSpan span = FindSection(text, lines, section, {});
    for (size_t i = span.header + 1; i < span.end; ++i) {
        if (lines[i].kind == Kind::Key)
            entries.emplace_back(text.substr(lines[i].nameBegin, lines[i].nameEnd - lines[i].nameBegin),
                                 CleanValue(text.substr(lines[i].valueBegin, lines[i].end - lines[i].valueBegin)));
    }
    entries = Unique(entries, true);
    return true;
}

std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback)
{
    std::vector<std::optional<std::string>> values;
    std::string reason;
    IniReadValues(path, section, {key}, values, reason);
    return values[0].value_or(fallback);
}

int IniReadInt(const std::string& path, const std::string& section, const std::string& key,
               int fallback)
{
    std::vector<std::optional<std::string>> values;
    std::string reason;
    IniReadValues(path, section, {key}, values, reason);
    return values[0] ? IniNumber(*values[0]) : fallback;
}

int IniNumber(const std::string& value)
{
    size_t p = 0;
    bool negative = false;
    if (p < value.size() && (value[p] == '+' || value[p] == '-'))
        negative = value[p++] == '-';
    long long magnitude = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;   // -INT_MIN
    for (; p < value.size() && value[p] >= '0' && value[p] <= '9'; ++p) {
        magnitude = magnitude * 10 + (value[p] - '0');
        if (magnitude > limit)
            magnitude = limit;   // stays put: no later digit can overflow it
    }
    if (negative)
        return static_cast<int>(-magnitude);
    return static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
}

bool IniWriteValues(const std::string& path, const std::string& section,
                    const IniEntries& entries, std::string& reason)
{
    return IniWriteSections(path, {{section, entries}}, reason);
}

bool IniWriteSections(const std::string& path, const std::vector<std::pair<std::string, IniEntries>>& sections,
                      std::string& reason)
{
    for (const auto& [section, entries] : sections) {
        for (const auto& [key, value] : entries) {
            reason = StructureProblem(section, key, value);
            if (!reason.empty())
                return false;
        }
    }
    try {
        std::vector<std::pair<std::string, IniEntries>> unique;
        for (const auto& [section, entries] : sections)
            if (!entries.empty())
                unique.emplace_back(section, Unique(entries));
        if (unique.empty())
            return true;
        if (path.empty()) {   // no settings file could be named
            reason = SystemErrorText(ENOENT, 1024);
            return false;
        }
        const std::string target = WriteTarget(path);
        std::string folder, name;
        SplitPath(target, folder, name);
        RemoveStaleSaves(folder, name);
        std::string text;
        bool exists = false;
        struct stat info;
        // A file that exists but can't be read is left alone rather than replaced.
        if (!ReadWholeFile(target, text, exists, info, reason))
            return false;
        std::string updated = text;
        for (const auto& [section, entries] : unique)
            updated = SetKeys(updated, section, entries);
        if (exists && updated == text)
            return true;
        return ReplaceFile(target, updated, exists ? (info.st_mode & 07777) : NewFileMode(),
                           exists ? &info : nullptr, reason);
    } catch (const std::bad_alloc&) {
        reason = SystemErrorText(ENOMEM, 1024);
        return false;
    }
}

bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value)
{
    std::string reason;
    return IniWriteValues(path, section, {{key, value}}, reason);
}
