#include "settings/IniFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Kind { Blank, Comment, Section, Key, Other };

// One line of the file, as offsets into its text. A key line's value runs from
// valueBegin to end; end excludes the line ending, next is where the following line starts.
struct Line {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
    Kind kind = Kind::Other;
    std::string name;   // the section's or the key's name, trimmed
    size_t valueBegin = 0;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& text)
{
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

char FoldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
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
        size_t close = text.find(']', p);
        if (close != std::string::npos && close < line.end) {
            line.kind = Kind::Section;
            line.name = Trim(text.substr(p + 1, close - p - 1));
        }
        return;
    }
    size_t equals = text.find('=', p);
    if (equals == std::string::npos || equals >= line.end)
        return;
    line.name = Trim(text.substr(p, equals - p));
    if (!line.name.empty()) {
        line.kind = Kind::Key;
        line.valueBegin = equals + 1;
    }
}

// Lines end in "\n" or "\r\n"; the last may have no ending. A UTF-8 byte order mark
// before the first line is kept but not read.
std::vector<Line> Parse(const std::string& text)
{
    std::vector<Line> lines;
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        size_t newline = text.find('\n', pos);
        if (newline == std::string::npos) {
            line.end = line.next = text.size();
        } else {
            line.next = newline + 1;
            line.end = newline > pos && text[newline - 1] == '\r' ? newline - 1 : newline;
        }
        Classify(text, line);
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// Index of the first header of the section, or lines.size().
size_t FindSection(const std::vector<Line>& lines, const std::string& section)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Kind::Section && SameName(lines[i].name, section))
            return i;
    }
    return lines.size();
}

// One past the section's last line: the next header, or the end of the file.
size_t SectionEnd(const std::vector<Line>& lines, size_t header)
{
    size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != Kind::Section) ++i;
    return i;
}

// Index of the key's first line in the section, or lines.size().
size_t FindKey(const std::vector<Line>& lines, const std::string& section, const std::string& key)
{
    size_t header = FindSection(lines, section);
    if (header == lines.size())
        return lines.size();
    size_t end = SectionEnd(lines, header);
    for (size_t i = header + 1; i < end; ++i) {
        if (lines[i].kind == Kind::Key && SameName(lines[i].name, key))
            return i;
    }
    return lines.size();
}

// The whole file into text. A missing file is no failure: exists turns false and
// text stays empty. Anything that is not a regular file, or can't be read, is a failure.
bool ReadWholeFile(const std::string& path, std::string& text, bool& exists, struct stat& info)
{
    text.clear();
    exists = false;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    char buffer[8192];
    while (ok) {
        ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            ok = false;
        else if (count == 0)
            break;
        else
            text.append(buffer, static_cast<size_t>(count));
    }
    close(fd);
    exists = ok;
    return ok;
}

// The value as a hand-edited file may hold it: blanks and tabs around it trimmed, then
// one pair of matching double or single quotes around it taken off.
std::string CleanValue(const std::string& raw)
{
    std::string value = Trim(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// The leading decimal number, optionally signed, clamped to the int range; 0 without one.
int LeadingNumber(const std::string& text)
{
    size_t p = 0;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        negative = text[p++] == '-';
    long long magnitude = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;   // -INT_MIN
    for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p) {
        magnitude = magnitude * 10 + (text[p] - '0');
        if (magnitude > limit)
            magnitude = limit;   // stays put: no later digit can overflow it
    }
    if (negative)
        return static_cast<int>(-magnitude);
    return static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
}

// Names and values that would change the file's structure when written.
bool Writable(const std::string& section, const std::string& key, const std::string& value)
{
    auto breaksLine = [](const std::string& s) {
        return s.find_first_of("\r\n") != std::string::npos;
    };
    std::string trimmedKey = Trim(key), trimmedSection = Trim(section);
    if (trimmedKey.empty() || trimmedSection.empty())
        return false;
    if (breaksLine(section) || breaksLine(key) || breaksLine(value))
        return false;
    if (section.find(']') != std::string::npos || key.find('=') != std::string::npos)
        return false;
    char first = trimmedKey.front();
    return first != '[' && first != ';' && first != '#';
}

// The text with the key set: replaced in place, appended to its section, or in a new
// section at the end. New lines take the file's own line ending.
std::string SetKey(const std::string& text, const std::string& section, const std::string& key,
                   const std::string& value)
{
    std::vector<Line> lines = Parse(text);
    size_t newline = text.find('\n');
    std::string eol = newline != std::string::npos && newline > 0 && text[newline - 1] == '\r'
                          ? "\r\n" : "\n";

    size_t found = FindKey(lines, section, key);
    if (found < lines.size()) {
        const Line& line = lines[found];
        size_t start = line.valueBegin;
        while (start < line.end && IsBlank(text[start])) ++start;   // keep "key = " spacing
        return text.substr(0, start) + value + text.substr(line.end);
    }

    std::string entry = key + "=" + value;
    size_t header = FindSection(lines, section);
    if (header < lines.size()) {
        // After the section's last entry, so blank lines and comments before the next
        // section stay where they are.
        size_t after = header;
        for (size_t i = header + 1; i < SectionEnd(lines, header); ++i) {
            if (lines[i].kind == Kind::Key || lines[i].kind == Kind::Other)
                after = i;
        }
        const Line& line = lines[after];
        if (line.next == line.end)   // the file's last line, without an ending
            return text + eol + entry + eol;
        return text.substr(0, line.next) + entry + eol + text.substr(line.next);
    }

    std::string result = text;
    if (!result.empty() && result.back() != '\n')
        result += eol;
    if (!lines.empty() && lines.back().kind != Kind::Blank)
        result += eol;   // a blank line between the last section and the new one
    return result + "[" + section + "]" + eol + entry + eol;
}

// Writes text to a temporary file in path's folder and renames it over path, so that
// path holds either the old or the new content, never a part.
bool ReplaceFile(const std::string& path, const std::string& text, mode_t mode,
                 const struct stat* old)
{
    std::string name = path + ".XXXXXX";
    std::vector<char> temp(name.begin(), name.end());
    temp.push_back('\0');
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            ok = false;
        else
            done += static_cast<size_t>(count);
    }
    if (old) {
        // Keeps the owner when an administrator edits another user's file; an ordinary
        // user can't give files away, and then the file is simply theirs.
        [[maybe_unused]] int ignored = fchown(fd, old->st_uid, old->st_gid);
    }
    ok = ok && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.data(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.data());
        return false;
    }
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {   // makes the rename itself last; the data is safe either way
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

// A settings file reached through a symbolic link is written where the link points,
// leaving the link in place.
std::string WriteTarget(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target = resolved;
    free(resolved);
    return target;
}

mode_t NewFileMode()
{
    mode_t mask = umask(022);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback)
{
    std::string text;
    bool exists = false;
    struct stat info;
    if (!ReadWholeFile(path, text, exists, info) || !exists)
        return fallback;
    std::vector<Line> lines = Parse(text);
    size_t found = FindKey(lines, section, key);
    if (found == lines.size())
        return fallback;
    const Line& line = lines[found];
    return CleanValue(text.substr(line.valueBegin, line.end - line.valueBegin));
}

int IniReadInt(const std::string& path, const std::string& section, const std::string& key,
               int fallback)
{
    // A value can't contain a line break, so this text never occurs as one.
    const std::string missing = "\n";
    std::string value = IniReadString(path, section, key, missing);
    return value == missing ? fallback : LeadingNumber(value);
}

bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value)
{
    if (!Writable(section, key, value))
        return false;
    std::string target = WriteTarget(path);
    std::string text;
    bool exists = false;
    struct stat info;
    // A file that exists but can't be read is left alone rather than replaced.
    if (!ReadWholeFile(target, text, exists, info))
        return false;
    std::string updated = SetKey(text, section, key, value);
    if (exists && updated == text)
        return true;
    return ReplaceFile(target, updated, exists ? (info.st_mode & 07777) : NewFileMode(),
                       exists ? &info : nullptr);
}
