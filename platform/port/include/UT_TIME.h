#pragma once

#include <ctime>

#include "Port_StringBase.h"

// Local-time formatting of times in seconds since the epoch.
namespace UT_TIME {

// The ctime(3) form without its final newline, for example "Sun Dec  6 20:26:05 2026".
Port::String CTime(long long time);
bool LocalTime(long long time, std::tm& out);
// Replaces text with the strftime(3) result; leaves it as it was when formatting fails.
bool StrFTime(Port::String& text, const char* pattern, const std::tm& time);
// The local time formatted with pattern; its CTime form when it cannot be formatted.
Port::String FormatLocalTime(long long time, const char* pattern);

}  // namespace UT_TIME
