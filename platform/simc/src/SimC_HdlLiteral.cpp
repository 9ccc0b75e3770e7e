#include "SimC_HdlLiteral.h"

#include "SimC_HdlExpression.h"
#include "Sim_Utility.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace SimC {

namespace {

struct Integer {
    bool negative = false;
    quint64 magnitude = 0;
};

QString Q(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

// A parameter of no known type is a string unless its value is a number.
bool IsStringParameter(const Ipu::Parameters::Parameter& parameter)
{
    if (!parameter.type.IsEmpty()) {
        return Q(parameter.type).compare(u"string", Qt::CaseInsensitive) == 0;
    }
    bool number = false;
    Q(parameter.value).toDouble(&number);
    return !number;
}

// Booleans count as bits, so that a bool parameter can set an integer 0/1 generic.
bool ToInteger(const QString& value, Integer& out)
{
    const bool isTrue = value.compare(u"true", Qt::CaseInsensitive) == 0;
    if (isTrue || value.compare(u"false", Qt::CaseInsensitive) == 0) {
        out = {false, isTrue ? 1u : 0u};
        return true;
    }
    return HdlExpression::ParseInteger(value, out.negative, out.magnitude);
}

bool Refuse(const QString& name, const QString& value, const QString& why, QString& reason)
{
    reason = QStringLiteral("parameter %1: '%2' %3").arg(name, value, why);
    return false;
}

// Both languages want a point in a real literal ("100.0", "1.5e+09").
bool RealLiteral(const QString& value, QString& out)
{
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        return false;
    }
    out = QString::number(number, 'g', QLocale::FloatingPointShortest);
    if (!out.contains(u'.')) {
        const qsizetype exponent = out.indexOf(u'e');
        out.insert(exponent < 0 ? out.size() : exponent, QLatin1String(".0"));
    }
    return true;
}

QString Escaped(QString text, bool verilog)
{
    if (verilog) {
        text.replace(u'\\', QLatin1String("\\\\"));
        text.replace(u'"', QLatin1String("\\\""));
    } else {
        text.replace(u'"', QLatin1String("\"\""));
    }
    return u'"' + text + u'"';
}

// The width of a declared range "[msb:lsb]" or "(left downto right)"; 0 when the bounds
// are not plain numbers.
qint64 RangeWidth(const QString& type, bool verilog)
{
    static const QRegularExpression verilogRange(
        QStringLiteral("\\[\\s*(-?\\d+)\\s*:\\s*(-?\\d+)\\s*\\]"));
    static const QRegularExpression vhdlRange(
        QStringLiteral("\\(\\s*(-?\\d+)\\s+(?:downto|to)\\s+(-?\\d+)\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = (verilog ? verilogRange : vhdlRange).match(type);
    if (!match.hasMatch()) {
        return 0;
    }
    return std::abs(match.captured(1).toLongLong() - match.captured(2).toLongLong()) + 1;
}

bool Fits(const Integer& value, qint64 width, bool isSigned)
{
    if (value.negative && !isSigned) {
        return false;
    }
    const qint64 valueBits = isSigned ? width - 1 : width;
    if (valueBits >= 64) {
        return true;
    }
    const quint64 limit = quint64(1) << valueBits;
    return value.negative ? value.magnitude <= limit : value.magnitude < limit;
}

// Two's complement in width bits, most significant first; false when it does not fit.
bool Bits(const Integer& value, qint64 width, bool isSigned, QString& out)
{
    if (!Fits(value, width, isSigned)) {
        return false;
    }
    const quint64 word = value.negative ? 0 - value.magnitude : value.magnitude;
    out.clear();
    for (qint64 bit = width - 1; bit >= 0; --bit) {
        const bool set = bit >= 64 ? value.negative : ((word >> bit) & 1u) != 0;
        out += set ? u'1' : u'0';
    }
    return true;
}

QString BitString(const QString& bits)
{
    if (bits.size() % 4 != 0) {
        return u'"' + bits + u'"';
    }
    QString hex;
    for (qsizetype i = 0; i < bits.size(); i += 4) {
        hex += QString::number(bits.mid(i, 4).toUInt(nullptr, 2), 16).toUpper();
    }
    return QStringLiteral("x\"%1\"").arg(hex);
}

bool VhdlVector(const Ipu::Parameters::Parameter& parameter, const QString& type, QString& out,
                QString& reason)
{
    const QString name = Q(parameter.name);
    const QString value = Q(parameter.value);
    const qint64 width = RangeWidth(type, false);
    Integer number;
    if (width <= 0) {
        return Refuse(name, value, QStringLiteral("cannot size the core's type '%1'").arg(type),
                      reason);
    }
    if (!ToInteger(value, number)) {
        return Refuse(name, value, QStringLiteral("is not a 64-bit integer"), reason);
    }
    QString bits;
    if (!Bits(number, width, type.startsWith(u"signed", Qt::CaseInsensitive), bits)) {
        return Refuse(name, value, QStringLiteral("does not fit %1 bits").arg(width), reason);
    }
    out = BitString(bits);
    return true;
}

bool VhdlInteger(const QString& name, const QString& value, QString& out, QString& reason)
{
    Integer number;
    if (!ToInteger(value, number)) {
        return Refuse(name, value, QStringLiteral("is not a 64-bit integer"), reason);
    }
    if (number.magnitude > (number.negative ? 2147483648u : 2147483647u)) {
        return Refuse(name, value, QStringLiteral("does not fit VHDL's 32-bit integer"), reason);
    }
    out = (number.negative ? QStringLiteral("-") : QString()) + QString::number(number.magnitude);
    return true;
}

bool VhdlBit(const QString& name, const QString& value, bool boolean, QString& out, QString& reason)
{
    Integer number;
    if (!ToInteger(value, number) || number.negative || number.magnitude > 1) {
        return Refuse(name, value, QStringLiteral("is not a bit"), reason);
    }
    const bool set = number.magnitude == 1;
    out = boolean ? (set ? QStringLiteral("true") : QStringLiteral("false"))
                  : (set ? QStringLiteral("'1'") : QStringLiteral("'0'"));
    return true;
}

bool VerilogInteger(const QString& name, const QString& value, const QString& type, QString& out,
                    QString& reason)
{
    Integer number;
    if (!ToInteger(value, number)) {
        return Refuse(name, value, QStringLiteral("is not a 64-bit integer"), reason);
    }
    static const QRegularExpression integer(QStringLiteral("\\binteger\\b"));
    const QString sign = number.negative ? QStringLiteral("-") : QString();
    const qint64 width = RangeWidth(type, true);
    if (width > 0) {
        static const QRegularExpression isSigned(QStringLiteral("\\bsigned\\b"));
        if (!Fits(number, width, type.contains(isSigned))) {
            return Refuse(name, value, QStringLiteral("does not fit %1 bits").arg(width), reason);
        }
        out = QStringLiteral("%1%2'd%3").arg(sign).arg(width).arg(number.magnitude);
    } else if (number.magnitude <= (number.negative ? 2147483648u : 2147483647u)) {
        out = sign + QString::number(number.magnitude);
    } else if (type.contains(integer)) {
        return Refuse(name, value, QStringLiteral("does not fit the core's 32-bit integer"),
                      reason);
    } else {
        out = QStringLiteral("%1%2'd%3").arg(sign).arg(64).arg(number.magnitude);
    }
    return true;
}

}  // namespace

bool HdlLiteral::Verilog(const Ipu::Parameters::Parameter& parameter, const QString& type,
                         QString& out, QString& reason)
{
    const QString name = Q(parameter.name);
    const QString value = Q(parameter.value);
    if (IsStringParameter(parameter) || type.startsWith(u"string")) {
        out = Escaped(value, true);
        return true;
    }
    const QString kind = Q(parameter.type).toLower();
    if (kind == u"real" || kind == u"shortreal" || type.startsWith(u"real")) {
        return RealLiteral(value, out) ||
               Refuse(name, value, QStringLiteral("is not a real"), reason);
    }
    return VerilogInteger(name, value, type, out, reason);
}

bool HdlLiteral::Vhdl(const Ipu::Parameters::Parameter& parameter, const QString& type,
                      QString& out, QString& reason)
{
    const QString name = Q(parameter.name);
    const QString value = Q(parameter.value);
    const QString base = type.section(QRegularExpression(QStringLiteral("[\\s(]")), 0, 0).toLower();
    if (base == u"string") {
        out = Escaped(value, false);
        return true;
    }
    if (base == u"real") {
        return RealLiteral(value, out) ||
               Refuse(name, value, QStringLiteral("is not a real"), reason);
    }
    if (base == u"boolean" || base == u"std_logic" || base == u"std_ulogic" || base == u"bit") {
        return VhdlBit(name, value, base == u"boolean", out, reason);
    }
    static const QStringList vectors{"std_logic_vector", "std_ulogic_vector", "unsigned", "signed",
                                     "bit_vector"};
    if (vectors.contains(base)) {
        return VhdlVector(parameter, type, out, reason);
    }
    return VhdlInteger(name, value, out, reason);
}

}  // namespace SimC
