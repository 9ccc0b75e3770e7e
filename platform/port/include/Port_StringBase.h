#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

namespace Port {

// How Compare and GetIndexOfString treat letters.
enum CompareType {
    CompareExact = 0,       // byte for byte
    CompareIgnoreCase = 1,  // ASCII letters folded; other bytes compared exactly
};

template <typename CharT>
class StringBase;

// The 8-bit string of the engine side. Bytes are opaque: no encoding is assumed.
template <>
class StringBase<char> {
public:
    static constexpr std::size_t npos = std::string::npos;

    StringBase() = default;
    StringBase(const char* text);  // NOLINT: implicit from literals, as callers expect
    StringBase(const char* data, std::size_t size);
    StringBase(std::string text);  // NOLINT

    // Replaces the contents with the printf-style result; any length.
    StringBase& Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The same with the arguments of a variadic caller; args is left unconsumed.
    StringBase& FormatV(const char* format, va_list args) __attribute__((format(printf, 2, 0)));
    StringBase& Append(const StringBase& text);
    StringBase& Append(char c);

    // <0, 0 or >0; shorter sorts first on a common prefix.
    int Compare(const StringBase& other, CompareType type = CompareExact) const;
    // Index of the first occurrence at or after start, or -1.
    long GetIndexOfString(const StringBase& needle, CompareType type = CompareExact,
                          std::size_t start = 0) const;
    // Replaces every non-overlapping occurrence; answers how many were replaced.
    int Replace(const StringBase& from, const StringBase& to);
    StringBase& MakeLower();
    StringBase& MakeUpper();
    // Up to count bytes from start; empty when start is past the end.
    StringBase Extract(std::size_t start, std::size_t count = npos) const;
    StringBase& Trim();

    bool IsEmpty() const { return text.empty(); }
    std::size_t GetLength() const { return text.size(); }
    const char* c_str() const { return text.c_str(); }
    const std::string& str() const { return text; }
    char operator[](std::size_t i) const { return text[i]; }

    StringBase& operator+=(const StringBase& other) { return Append(other); }
    friend StringBase operator+(StringBase a, const StringBase& b) { return a.Append(b); }
    friend bool operator==(const StringBase& a, const StringBase& b) { return a.text == b.text; }
    friend bool operator!=(const StringBase& a, const StringBase& b) { return a.text != b.text; }
    friend bool operator<(const StringBase& a, const StringBase& b) { return a.text < b.text; }

private:
    std::string text;
};

using String = StringBase<char>;

}  // namespace Port
