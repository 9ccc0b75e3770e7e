#include "SimC_ProjectFileFormat.h"

#include <algorithm>
#include <string>
#include <utility>

namespace SimC {

namespace {

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at i (its first byte is not ASCII), or 0.
// Overlong forms, surrogates and code points past U+10FFFF are not well-formed.
std::size_t SequenceLength(const unsigned char* s, std::size_t size, std::size_t i)
{
    const unsigned char c = s[i];
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > size || s[i + 1] < low || s[i + 1] > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!IsContinuation(s[i + k])) {
            return 0;
        }
    }
    return length;
}

// U+FFFE and U+FFFF are not XML characters.
bool IsNonCharacter(const unsigned char* s, std::size_t i)
{
    return s[i] == 0xEF && s[i + 1] == 0xBF && (s[i + 2] == 0xBE || s[i + 2] == 0xBF);
}

// The length of the UTF-8 character at i, or 0 when the bytes there are not one.
std::size_t CharacterLength(const unsigned char* s, std::size_t size, std::size_t i)
{
    return s[i] < 0x80 ? 1 : SequenceLength(s, size, i);
}

bool IsUtf8(const Port::String& text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.c_str());
    for (std::size_t i = 0, length = 0; i < text.GetLength(); i += length) {
        length = CharacterLength(s, text.GetLength(), i);
        if (length == 0) {
            return false;
        }
    }
    return true;
}

QString Hex(unsigned char c)
{
    return QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
}

// Why a name cannot be part of a path, or empty when it can.
QString UnsafeNameReason(const Port::String& name)
{
    const std::string& text = name.str();
    if (text.empty() || text == "." || text == "..") {
        return QStringLiteral("cannot name a file");
    }
    const std::size_t bad = text.find_first_of("/\\<>:\"|?*");
    if (bad != std::string::npos) {
        return QStringLiteral("holds the character '%1', which a file name cannot hold")
            .arg(QLatin1Char(text[bad]));
    }
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        return QStringLiteral("holds a control character");
    }
    return IsUtf8(name) ? QString() : QStringLiteral("holds bytes that are not UTF-8");
}

}  // namespace

bool ProjectFileFormat::IsPlainText(const Port::String& text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.c_str());
    const std::size_t size = text.GetLength();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n') {
                return false;
            }
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(s, size, i);
        if (length == 0 || (length == 3 && IsNonCharacter(s, i))) {
            return false;
        }
        i += length;
    }
    return true;
}

QString ProjectFileFormat::ToQString(const Port::String& text)
{
    return QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.GetLength()));
}

bool ProjectFileFormat::ToPath(const Port::String& path, QString& out, QString& reason)
{
    out.clear();
    if (path.str().find('\0') != std::string::npos) {
        reason = QStringLiteral("the name holds a NUL byte");
        return false;
    }
    if (!IsUtf8(path)) {
        reason = QStringLiteral("the name is not valid UTF-8");
        return false;
    }
    out = ToQString(path);
    return true;
}

Port::String ProjectFileFormat::Escaped(const Port::String& text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.c_str());
    const std::size_t size = text.GetLength();
    QString out;
    for (std::size_t i = 0, length = 0; i < size; i += length) {
        length = CharacterLength(s, size, i);
        if (length == 0 || s[i] < 0x20 || s[i] == 0x7F) {
            out += Hex(s[i]);
            length = 1;
        } else {
            out += QString::fromUtf8(text.c_str() + i, static_cast<qsizetype>(length));
        }
    }
    return ToPortString(out);
}

bool ProjectFileFormat::IsSafeName(const Port::String& name, QString& reason)
{
    const QString why = UnsafeNameReason(name);
    if (why.isEmpty()) {
        return true;
    }
    reason = QStringLiteral("the name '%1' %2").arg(ToQString(Escaped(name)), why);
    return false;
}

Port::String ProjectFileFormat::ToPortString(QStringView text)
{
    // Most texts of a project are ASCII: they need no encoder and no second copy.
    std::string ascii(static_cast<std::size_t>(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80) {
            ascii.clear();
            break;
        }
        ascii[static_cast<std::size_t>(i)] = static_cast<char>(c);
    }
    if (!ascii.empty() || text.isEmpty()) {
        return Port::String(std::move(ascii));
    }
    const QByteArray bytes = text.toUtf8();
    return Port::String(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace SimC
