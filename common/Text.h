#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Marks a text for the translation catalogues without Qt: lupdate finds the marks, and the
// window translates the text when it shows it. The same tokens as Qt's own definition, so
// that either header may come first.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

// A message for the user. A marked text names its catalogue context and its English source,
// in which %1..%9 stand for the arguments (themselves texts) and %n for the count; a verbatim
// text (no context: a file name, a number, exiv2's own words) is shown as it is, its %1..%9
// filled all the same. The terminal tool and the logs use English(); the window translates.
struct Text {
    Text() = default;
    Text(std::string verbatim) : source(std::move(verbatim)) {}   // NOLINT: a plain string is a verbatim text
    Text(const char* verbatim) : source(verbatim) {}              // NOLINT
    Text(const char* context, const char* source, std::vector<Text> args = {})
        : context(context), source(source), args(std::move(args)) {}
    // A text with a count: one is the English singular, source the English plural, both with %n.
    static Text Counted(const char* context, const char* one, const char* source, int64_t count,
                        std::vector<Text> args = {});
    // A verbatim pattern ("%1.") filled with texts.
    static Text Filled(std::string source, std::vector<Text> args)
    {
        Text text(std::move(source));
        text.args = std::move(args);
        return text;
    }
    // The parts one after another, each followed by separator but the last; empty parts left out.
    static Text Joined(const std::vector<Text>& parts, const char* separator);

    const char* context = nullptr;   // null: verbatim
    std::string source;
    std::vector<Text> args;
    int64_t count = -1;              // -1: no count
    const char* one = nullptr;       // the English singular of a counted text

    std::string English() const;
    bool empty() const { return source.empty(); }
};

// Replaces %1..%9 in source by args in one pass (an argument's own "%1" stays as it is) and
// %n by count when count >= 0; a marker without an argument stays.
std::string FillText(const std::string& source, const std::vector<std::string>& args, int64_t count = -1);

inline bool operator==(const Text& a, const std::string& b) { return a.English() == b; }
inline bool operator==(const std::string& a, const Text& b) { return b == a; }
inline bool operator==(const Text& a, const char* b) { return a.English() == b; }
inline bool operator==(const char* a, const Text& b) { return b == a; }
inline bool operator!=(const Text& a, const std::string& b) { return !(a == b); }
inline bool operator!=(const Text& a, const char* b) { return !(a == b); }
inline std::ostream& operator<<(std::ostream& out, const Text& text) { return out << text.English(); }
