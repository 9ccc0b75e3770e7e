#include "UT_TIME.h"

#include <string>

#include <time.h>

namespace UT_TIME {

namespace {

// Past this size a pattern is taken as failing instead of growing the buffer forever.
constexpr std::size_t MaxResult = 1 << 20;

}  // namespace

Port::String CTime(long long time)
{
    const time_t value = static_cast<time_t>(time);
    char buffer[128];
    if (::ctime_r(&value, buffer) == nullptr)
        return Port::String();
    std::string text(buffer);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return Port::String(text);
}

bool LocalTime(long long time, std::tm& out)
{
    const time_t value = static_cast<time_t>(time);
    return ::localtime_r(&value, &out) != nullptr;
}

bool StrFTime(Port::String& text, const char* pattern, const std::tm& time)
{
    if (pattern == nullptr)
        return false;
    // strftime answers 0 both for "too small" and for an empty result; a leading mark makes
    // a successful result never empty, so 0 means only "grow the buffer".
    const std::string marked = std::string("#") + pattern;
    std::string buffer(64 + marked.size(), '\0');
    while (buffer.size() <= MaxResult) {
        const std::size_t length =
            std::strftime(buffer.data(), buffer.size(), marked.c_str(), &time);
        if (length > 0) {
            text = Port::String(buffer.data() + 1, length - 1);
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
    return false;
}

Port::String FormatLocalTime(long long time, const char* pattern)
{
    Port::String text = CTime(time);
    std::tm local{};
    if (LocalTime(time, local))
        StrFTime(text, pattern, local);
    return text;
}

}  // namespace UT_TIME
