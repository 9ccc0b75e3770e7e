#include "Ipu_Utilities.h"

#include <dlfcn.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "Port_Env.h"
#include "Port_File.h"
#include "Port_FileName.h"
#include "Port_Version.h"

namespace Ipu {

namespace {

constexpr std::string_view checksumPrefix = "# gantrel-checksum crc32 ";
constexpr std::size_t checksumDigits = 8;
// Far above any command file we write; keeps a stray huge file from being read whole.
constexpr std::streamoff maxChecksumFileSize = 64 * 1024 * 1024;

std::vector<std::string> SplitComponents(const std::string& absolute)
{
    std::vector<std::string> parts;
    std::size_t begin = 1;
    while (begin < absolute.size()) {
        std::size_t end = absolute.find('/', begin);
        if (end == std::string::npos)
            end = absolute.size();
        parts.push_back(absolute.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

std::string InstallationRoot()
{
    const Port::String home = Port_Env::GetVariable("GANTREL_HOME");
    if (!home.IsEmpty())
        return Utilities::GetAbsolutePath(home).str();
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&InstallationRoot), &info) == 0 || info.dli_fname == nullptr)
        return std::string();
    const Port::String library = Utilities::GetAbsolutePath(info.dli_fname);
    return Port::FileName(Port::FileName(library).GetHead()).GetHead().str();
}

std::uint32_t Crc32(const char* data, std::size_t size)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> values{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            values[i] = c;
        }
        return values;
    }();
    std::uint32_t crc = 0xFFFFFFFFU;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFFU] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFU;
}

std::string ChecksumText(const std::string& content, std::size_t size)
{
    char digits[checksumDigits + 1];
    std::snprintf(digits, sizeof digits, "%08x",
                  static_cast<unsigned>(Crc32(content.data(), size)));
    return digits;
}

unsigned ReadWhole(const Port::String& path, std::string& content)
{
    if (!Port::File::isfile(path))
        return Utilities::CHECKSUM_UNREADABLE;
    std::ifstream in(path.str(), std::ios::binary | std::ios::ate);
    if (!in)
        return Utilities::CHECKSUM_UNREADABLE;
    const std::streamoff size = in.tellg();
    if (size < 0)
        return Utilities::CHECKSUM_UNREADABLE;
    if (size > maxChecksumFileSize)
        return Utilities::CHECKSUM_TOO_LARGE;
    content.assign(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (size > 0 && !in.read(&content[0], size))
        return Utilities::CHECKSUM_UNREADABLE;
    return Utilities::CHECKSUM_OK;
}

bool IsHexDigits(const std::string& text)
{
    if (text.size() != checksumDigits)
        return false;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c)) == 0)
            return false;
    }
    return true;
}

// Where the final checksum line starts, or npos; digits receives its value.
std::size_t FindChecksumLine(const std::string& content, std::string& digits)
{
    std::size_t end = content.size();
    if (end > 0 && content[end - 1] == '\n')
        --end;
    if (end > 0 && content[end - 1] == '\r')
        --end;
    const std::size_t newline = end == 0 ? std::string::npos : content.rfind('\n', end - 1);
    const std::size_t start = newline == std::string::npos ? 0 : newline + 1;
    const std::string line = content.substr(start, end - start);
    if (line.compare(0, checksumPrefix.size(), checksumPrefix) != 0)
        return std::string::npos;
    digits = line.substr(checksumPrefix.size());
    return IsHexDigits(digits) ? start : std::string::npos;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    return Port::String(a).Compare(Port::String(b), Port::CompareIgnoreCase) == 0;
}

}  // namespace

Port::String Utilities::ApplicationName()
{
    return Port::Version::getValue("product");
}

Port::String Utilities::GetAbsolutePath(const Port::String& path)
{
    return Port::FileName(path).GetAbsolutePath(true);
}

Port::String Utilities::MakeRelativePath(const Port::String& base, const Port::String& path)
{
    if (path.IsEmpty() || path[0] != '/')
        return path;
    const std::vector<std::string> from = SplitComponents(GetAbsolutePath(base).str());
    const std::vector<std::string> to = SplitComponents(GetAbsolutePath(path).str());
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common])
        ++common;
    std::string result;
    for (std::size_t i = common; i < from.size(); ++i)
        result += result.empty() ? ".." : "/..";
    for (std::size_t i = common; i < to.size(); ++i)
        result += (result.empty() ? "" : "/") + to[i];
    return result.empty() ? Port::String(".") : Port::String(result);
}

bool Utilities::GetFullPellorPathOf(const Port::String& relative, Port::String& full)
{
    const std::string root = InstallationRoot();
    if (relative.IsEmpty() || root.empty())
        return false;
    std::string tail = relative.str();
    while (!tail.empty() && tail[0] == '/')
        tail.erase(0, 1);
    full = root == "/" ? "/" + tail : root + "/" + tail;
    return true;
}

Utilities::StringContainer Utilities::ConvertStringListToStringContainer(const StringList& list)
{
    return StringContainer(list.begin(), list.end());
}

unsigned Utilities::ValidateFileChecksum(const Port::String& path, bool& valid)
{
    std::string content;
    const unsigned status = ReadWhole(path, content);
    if (status != CHECKSUM_OK)
        return status;
    std::string digits;
    const std::size_t start = FindChecksumLine(content, digits);
    if (start == std::string::npos)
        return CHECKSUM_ABSENT;
    valid = EqualIgnoringCase(digits, ChecksumText(content, start));
    return CHECKSUM_OK;
}

unsigned Utilities::WriteFileChecksum(const Port::String& path)
{
    std::string content;
    const unsigned status = ReadWhole(path, content);
    if (status != CHECKSUM_OK)
        return status;
    std::string digits;
    const std::size_t start = FindChecksumLine(content, digits);
    if (start != std::string::npos)
        content.resize(start);
    else if (!content.empty() && content.back() != '\n')
        content += '\n';
    content += ChecksumLine(content);
    std::ofstream out(path.str(), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return out ? CHECKSUM_OK : CHECKSUM_UNREADABLE;
}

std::string Utilities::ChecksumLine(const std::string& content)
{
    return std::string(checksumPrefix) + ChecksumText(content, content.size()) + "\n";
}

}  // namespace Ipu
