#include "SimC_HdlExpression.h"

#include "Sim_Utility.h"

#include <limits>

namespace SimC {

namespace {

// Deep enough for any real bound, shallow enough that a hostile one cannot exhaust the
// worker thread's stack.
constexpr int kMaxDepth = 64;

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool IsNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

qint64 CeilLog2(qint64 value)
{
    qint64 bits = 0;
    while (bits < 63 && (qint64(1) << bits) < value) {
        ++bits;
    }
    return bits;
}

}  // namespace

bool HdlExpression::Evaluate(const QString& text, const Ipu::Parameters& parameters, qint64& out,
                             QString& reason)
{
    HdlExpression expression(text, parameters);
    qint64 value = 0;
    if (!expression.Sum(value)) {
        reason = expression.error;
        return false;
    }
    if (!expression.Peek().isNull()) {
        reason = QStringLiteral("unexpected '%1' at column %2")
                     .arg(expression.Peek())
                     .arg(expression.at + 1);
        return false;
    }
    out = value;
    return true;
}

bool HdlExpression::ParseInteger(const QString& text, bool& negative, quint64& magnitude)
{
    QString digits = text.trimmed();
    negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+')) {
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        digits.remove(0, 2);
        base = 16;
    }
    // toULongLong would take blanks and a sign of its own.
    for (const QChar c : digits) {
        if (!(base == 16 ? c.isLetterOrNumber() : c.isDigit())) {
            return false;
        }
    }
    bool ok = false;
    magnitude = digits.toULongLong(&ok, base);
    return ok && !digits.isEmpty();
}

bool HdlExpression::Sum(qint64& out)
{
    if (!Product(out)) {
        return false;
    }
    while (Peek() == u'+' || Peek() == u'-') {
        const QChar op = text[at++];
        qint64 right = 0;
        if (!Product(right) || !Apply(op, out, right, out)) {
            return false;
        }
    }
    return true;
}

bool HdlExpression::Product(qint64& out)
{
    if (!Factor(out)) {
        return false;
    }
    while (Peek() == u'*' || Peek() == u'/') {
        const QChar op = text[at++];
        qint64 right = 0;
        if (!Factor(right) || !Apply(op, out, right, out)) {
            return false;
        }
    }
    return true;
}

bool HdlExpression::Factor(qint64& out)
{
    if (++depth > kMaxDepth) {
        return Fail(QStringLiteral("nested more than %1 deep").arg(kMaxDepth));
    }
    bool ok = false;
    if (Accept(u'-')) {
        ok = Factor(out) && Apply(u'-', 0, out, out);
    } else {
        ok = Primary(out);
    }
    --depth;
    return ok;
}

bool HdlExpression::Primary(qint64& out)
{
    const QChar c = Peek();
    if (Accept(u'(')) {
        return Sum(out) && (Accept(u')') || Fail(QStringLiteral("missing ')'")));
    }
    if (c.isDigit()) {
        return Number(out);
    }
    if (IsNameStart(c) || c == u'$') {
        return Name(out);
    }
    return Fail(c.isNull() ? QStringLiteral("incomplete expression")
                           : QStringLiteral("unexpected '%1' at column %2").arg(c).arg(at + 1));
}

bool HdlExpression::Number(qint64& out)
{
    const qsizetype begin = at;
    while (at < text.size() && text[at].isDigit()) {
        ++at;
    }
    bool ok = false;
    out = text.mid(begin, at - begin).toLongLong(&ok);
    return ok || Fail(QStringLiteral("%1 does not fit 64 bits").arg(text.mid(begin, at - begin)));
}

bool HdlExpression::Name(qint64& out)
{
    const qsizetype begin = at++;
    while (at < text.size() && IsNamePart(text[at])) {
        ++at;
    }
    const QString name = text.mid(begin, at - begin);
    if (name == u"$clog2") {
        return Clog2(out);
    }
    if (name.startsWith(u'$')) {
        return Fail(QStringLiteral("unknown function '%1'").arg(name));
    }
    return Parameter(name, out);
}

bool HdlExpression::Clog2(qint64& out)
{
    if (!Accept(u'(')) {
        return Fail(QStringLiteral("'(' expected after $clog2"));
    }
    if (!Sum(out) || (!Accept(u')') && !Fail(QStringLiteral("missing ')'")))) {
        return false;
    }
    if (out < 0) {
        return Fail(QStringLiteral("$clog2 of the negative %1").arg(out));
    }
    out = CeilLog2(out);
    return true;
}

bool HdlExpression::Parameter(const QString& name, qint64& out)
{
    Port::String value;
    if (parameters.GetValue(Sim::Utility::QStringToPortString(name), value) != 0) {
        return Fail(QStringLiteral("unknown parameter '%1'").arg(name));
    }
    bool negative = false;
    quint64 magnitude = 0;
    const QString shown = Sim::Utility::PortStringToQString(value);
    const bool integer = ParseInteger(shown, negative, magnitude);
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
    if (!integer || magnitude > limit) {
        return Fail(
            QStringLiteral("parameter '%1' is not a 64-bit integer ('%2')").arg(name, shown));
    }
    out = negative ? qint64(0 - magnitude) : qint64(magnitude);
    return true;
}

bool HdlExpression::Apply(QChar op, qint64 left, qint64 right, qint64& out)
{
    bool overflow = false;
    if (op == u'+') {
        overflow = __builtin_add_overflow(left, right, &out);
    } else if (op == u'-') {
        overflow = __builtin_sub_overflow(left, right, &out);
    } else if (op == u'*') {
        overflow = __builtin_mul_overflow(left, right, &out);
    } else if (right == 0) {
        return Fail(QStringLiteral("division by zero"));
    } else {
        overflow = left == std::numeric_limits<qint64>::min() && right == -1;
        out = overflow ? 0 : left / right;
    }
    return !overflow ||
           Fail(QStringLiteral("%1 %2 %3 overflows 64 bits").arg(left).arg(op).arg(right));
}

bool HdlExpression::Accept(QChar c)
{
    if (Peek() != c) {
        return false;
    }
    ++at;
    return true;
}

// The next character that is not a blank; null at the end.
QChar HdlExpression::Peek()
{
    while (at < text.size() && text[at].isSpace()) {
        ++at;
    }
    return at < text.size() ? text[at] : QChar();
}

bool HdlExpression::Fail(const QString& why)
{
    if (error.isEmpty()) {
        error = why;
    }
    return false;
}

}  // namespace SimC
