#include "track/readers/XmlStream.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <limits>

#include <expat.h>
#include <unistd.h>

#include "track/readers/ReaderSupport.h"

XmlStream::XmlStream() : parser(XML_ParserCreate(nullptr))
{
    if (!parser)
        throw std::bad_alloc();
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser, OnText);
}

XmlStream::~XmlStream()
{
    XML_ParserFree(parser);
}

bool XmlStream::Feed(const char* data, size_t size, bool last, std::string& reason)
{
    // expat takes an int length: a larger block goes in parts.
    constexpr size_t kPart = std::numeric_limits<int>::max() / 2;
    bool ok = true;
    for (; ok && size > kPart; data += kPart, size -= kPart)
        ok = XML_Parse(parser, data, static_cast<int>(kPart), XML_FALSE) == XML_STATUS_OK;
    ok = ok && XML_Parse(parser, data, static_cast<int>(size), last ? XML_TRUE : XML_FALSE) == XML_STATUS_OK;
    if (!ok && (outOfMemory || XML_GetErrorCode(parser) == XML_ERROR_NO_MEMORY))
        reason = "too big to read (out of memory)";
    else if (!ok && tooDeep)
        reason = NestingText();
    return ok;
}

bool XmlStream::FeedFile(int fd, std::string& reason)
{
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    bool fed = true;
    const bool read = ReadBlocks(fd, [&](const char* data, size_t size) {
        return fed = Feed(data, size, false, reason);
    }, reason);
    return read && fed && Feed(nullptr, 0, true, reason);
}

int64_t XmlStream::Line() const
{
    return static_cast<int64_t>(XML_GetCurrentLineNumber(parser));
}

void XmlStream::Characters(const char* data, size_t size)
{
    text.append(data, std::min(size, kMaxText - std::min(kMaxText, text.size())));
}

std::string_view XmlStream::Trimmed() const
{
    std::string_view view = text;
    while (!view.empty() && IsXmlSpace(view.front()))
        view.remove_prefix(1);
    while (!view.empty() && IsXmlSpace(view.back()))
        view.remove_suffix(1);
    return view;
}

const std::string& XmlStream::Name(size_t up) const
{
    static const std::string none;
    return up < path.size() ? path[path.size() - 1 - up] : none;
}

bool XmlStream::Within(const char* name) const
{
    for (const std::string& open : path)
        if (open == name)
            return true;
    return false;
}

template <typename Handler>
void XmlStream::Guard(const Handler& handler)
{
    if (outOfMemory || tooDeep)   // expat may still call a handler or two after being stopped
        return;
    try {
        handler();
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
        XML_StopParser(parser, XML_FALSE);
    }
}

void XmlStream::OnStart(void* self, const char* name, const char**)
{
    XmlStream& xml = *static_cast<XmlStream*>(self);
    if (!xml.tooDeep && xml.path.size() >= kMaxNesting) {
        // expat keeps every open element: a file of nothing but start tags would fill the
        // memory some 40 times its size.
        xml.tooDeep = true;
        XML_StopParser(xml.parser, XML_FALSE);
        return;
    }
    xml.Guard([&] {
        const char* colon = std::strrchr(name, ':');
        xml.path.emplace_back(colon ? colon + 1 : name);
        xml.text.clear();
        xml.Open(xml.path.back());
    });
}

void XmlStream::OnEnd(void* self, const char*)
{
    XmlStream& xml = *static_cast<XmlStream*>(self);
    xml.Guard([&] {
        xml.Close(xml.path.back());
        xml.path.pop_back();
        xml.text.clear();
    });
}

void XmlStream::OnText(void* self, const char* data, int size)
{
    XmlStream& xml = *static_cast<XmlStream*>(self);
    xml.Guard([&] { xml.Characters(data, static_cast<size_t>(size)); });
}

bool XmlNumber(std::string_view text, double& value)
{
    if (!text.empty() && text.front() == '+')   // from_chars takes no plus sign
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool HasStartTag(const std::string& head, const std::string& name)
{
    const auto isNameChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.'; };
    for (size_t at = head.find(name); at != std::string::npos; at = head.find(name, at + 1)) {
        const size_t end = at + name.size();
        if (end < head.size() && !IsXmlSpace(head[end]) && head[end] != '>' && head[end] != '/')
            continue;
        if (at > 0 && head[at - 1] == '<')
            return true;
        if (at < 2 || head[at - 1] != ':')
            continue;
        size_t prefix = at - 1;   // the prefix's first character
        while (prefix > 0 && isNameChar(head[prefix - 1]))
            --prefix;
        if (prefix > 0 && prefix < at - 1 && head[prefix - 1] == '<')
            return true;
    }
    return false;
}
