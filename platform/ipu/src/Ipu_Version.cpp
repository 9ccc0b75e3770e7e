#include "Ipu_Version.h"

#include <cctype>
#include <string>
#include <vector>

namespace Ipu {

namespace {

bool IsSeparator(char c)
{
    return c == '.' || c == '-' || c == '_';
}

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Maximal runs of digits and of other non-separator bytes, in order.
std::vector<std::string> Tokens(const std::string& text)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsSeparator(text[i])) {
            ++i;
            continue;
        }
        const bool digits = IsDigit(text[i]);
        std::size_t end = i;
        while (end < text.size() && !IsSeparator(text[end]) && IsDigit(text[end]) == digits) {
            ++end;
        }
        tokens.push_back(text.substr(i, end - i));
        i = end;
    }
    return tokens;
}

// Numbers of any length, without converting (no overflow): drop leading zeros, then the
// longer is larger, then byte order.
int CompareNumbers(const std::string& a, const std::string& b)
{
    const std::size_t za = std::min(a.find_first_not_of('0'), a.size());
    const std::size_t zb = std::min(b.find_first_not_of('0'), b.size());
    const std::size_t la = a.size() - za;
    const std::size_t lb = b.size() - zb;
    if (la != lb) {
        return la < lb ? -1 : 1;
    }
    return a.compare(za, la, b, zb, lb);
}

int CompareTokens(const std::string& a, const std::string& b)
{
    const bool da = IsDigit(a[0]);
    const bool db = IsDigit(b[0]);
    if (da && db) {
        return CompareNumbers(a, b);
    }
    if (da != db) {
        return da ? -1 : 1;  // "1.0.1" before "1.0a"
    }
    return a.compare(b);
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

}  // namespace

Version::Version(const Port::String& text) : text(text) {}

int Version::Compare(const Version& other) const
{
    const std::vector<std::string> a = Tokens(text.str());
    const std::vector<std::string> b = Tokens(other.text.str());
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (const int result = CompareTokens(a[i], b[i])) {
            return Sign(result);
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return 0;
}

}  // namespace Ipu
