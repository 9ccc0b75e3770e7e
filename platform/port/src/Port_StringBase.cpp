#include "Port_StringBase.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <utility>

namespace Port {

namespace {

bool IsAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Folds only ASCII letters so bytes of any encoding keep their own value.
unsigned char Fold(char c, CompareType type)
{
    const auto byte = static_cast<unsigned char>(c);
    if (type == CompareIgnoreCase && byte >= 'A' && byte <= 'Z')
        return static_cast<unsigned char>(byte - 'A' + 'a');
    return byte;
}

bool MatchesAt(const std::string& hay, std::size_t at, const std::string& needle, CompareType type)
{
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (Fold(hay[at + i], type) != Fold(needle[i], type))
            return false;
    }
    return true;
}

}  // namespace

StringBase<char>::StringBase(const char* text) : text(text ? text : "") {}

StringBase<char>::StringBase(const char* data, std::size_t size)
    : text(data ? std::string(data, size) : std::string())
{
}

StringBase<char>::StringBase(std::string text) : text(std::move(text)) {}

StringBase<char>& StringBase<char>::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
    return *this;
}

StringBase<char>& StringBase<char>::FormatV(const char* format, va_list args)
{
    text.clear();
    if (format == nullptr)
        return *this;
    char small[4096];
    va_list first;
    va_copy(first, args);
    const int needed = std::vsnprintf(small, sizeof small, format, first);
    va_end(first);
    if (needed < 0)
        return *this;
    if (static_cast<std::size_t>(needed) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(needed));
        return *this;
    }
    // The first pass only measured; the second writes into a buffer of the right size.
    text.assign(static_cast<std::size_t>(needed) + 1, '\0');
    va_list second;
    va_copy(second, args);
    std::vsnprintf(&text[0], text.size(), format, second);
    va_end(second);
    text.resize(static_cast<std::size_t>(needed));
    return *this;
}

StringBase<char>& StringBase<char>::Append(const StringBase& other)
{
    text += other.text;
    return *this;
}

StringBase<char>& StringBase<char>::Append(char c)
{
    text += c;
    return *this;
}

int StringBase<char>::Compare(const StringBase& other, CompareType type) const
{
    const std::size_t common = std::min(text.size(), other.text.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int a = Fold(text[i], type);
        const int b = Fold(other.text[i], type);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (text.size() == other.text.size())
        return 0;
    return text.size() < other.text.size() ? -1 : 1;
}

long StringBase<char>::GetIndexOfString(const StringBase& needle, CompareType type,
                                        std::size_t start) const
{
    if (start > text.size())
        return -1;
    if (needle.text.size() > text.size() - start)
        return -1;
    const std::size_t last = text.size() - needle.text.size();
    for (std::size_t at = start; at <= last; ++at) {
        if (MatchesAt(text, at, needle.text, type))
            return static_cast<long>(at);
    }
    return -1;
}

int StringBase<char>::Replace(const StringBase& from, const StringBase& to)
{
    if (from.text.empty())
        return 0;
    std::string result;
    int count = 0;
    std::size_t done = 0;
    for (std::size_t at = text.find(from.text); at != std::string::npos;
         at = text.find(from.text, done)) {
        result.append(text, done, at - done);
        result += to.text;
        done = at + from.text.size();
        ++count;
    }
    if (count > 0) {
        result.append(text, done, std::string::npos);
        text = std::move(result);
    }
    return count;
}

StringBase<char>& StringBase<char>::MakeLower()
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return *this;
}

StringBase<char>& StringBase<char>::MakeUpper()
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return *this;
}

StringBase<char> StringBase<char>::Extract(std::size_t start, std::size_t count) const
{
    if (start >= text.size())
        return StringBase();
    return StringBase(text.substr(start, count));
}

StringBase<char>& StringBase<char>::Trim()
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsAsciiSpace(text[begin]))
        ++begin;
    while (end > begin && IsAsciiSpace(text[end - 1]))
        --end;
    text = text.substr(begin, end - begin);
    return *this;
}

}  // namespace Port
