#include "SimC_CoreGenerics.h"

#include <QRegularExpression>
#include <QStringList>

namespace SimC {

namespace {

// The text with its comments blanked out (strings kept), so that a comment mentioning a
// parameter or holding a parenthesis cannot mislead the reading. Both languages know
// block comments (VHDL since 2008).
QString WithoutComments(const QString& text, const QString& line)
{
    QString out = text;
    qsizetype i = 0;
    while (i < out.size()) {
        if (out[i] == u'"') {
            const qsizetype end = out.indexOf(u'"', i + 1);
            i = end < 0 ? out.size() : end + 1;
        } else if (QStringView(out).mid(i).startsWith(line)) {
            while (i < out.size() && out[i] != u'\n') {
                out[i++] = u' ';
            }
        } else if (QStringView(out).mid(i).startsWith(u"/*")) {
            const qsizetype end = out.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? out.size() : end + 2;
            for (; i < stop; ++i) {
                out[i] = out[i] == u'\n' ? u'\n' : u' ';
            }
        } else {
            ++i;
        }
    }
    return out;
}

// The index just past the parenthesis that closes the one before begin; -1 if none.
qsizetype Closing(const QString& text, qsizetype begin)
{
    int depth = 1;
    for (qsizetype i = begin; i < text.size(); ++i) {
        if (text[i] == u'"') {
            i = text.indexOf(u'"', i + 1);
            if (i < 0) {
                return -1;
            }
        } else if (text[i] == u'(') {
            ++depth;
        } else if (text[i] == u')' && --depth == 0) {
            return i + 1;
        }
    }
    return -1;
}

// Splits at separators outside brackets and strings.
QStringList SplitTop(const QString& text, QChar separator)
{
    QStringList items;
    int depth = 0;
    bool quoted = false;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'(' || c == u'[' || c == u'{')) {
            ++depth;
        } else if (!quoted && (c == u')' || c == u']' || c == u'}')) {
            --depth;
        } else if (!quoted && depth == 0 && c == separator) {
            items << text.mid(begin, i - begin);
            begin = i + 1;
        }
    }
    items << text.mid(begin);
    return items;
}

// One item of a Verilog parameter list: "[parameter [type]] NAME = default". An item
// without its own keyword and type shares those of the item before it.
void AddVerilogItem(const QString& item, bool& overridable, QString& type,
                    std::vector<CoreGenerics::Generic>& out)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(?:(parameter|localparam)\\b(.*?))?([A-Za-z_][A-Za-z0-9_$]*)\\s*=.*$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = pattern.match(item);
    if (!match.hasMatch()) {
        return;
    }
    if (match.capturedLength(1) > 0) {
        overridable = match.captured(1) == u"parameter";
        type = match.captured(2).simplified();
    }
    if (overridable) {
        out.push_back({match.captured(3), type});
    }
}

void ReadVerilogItems(const QStringList& items, std::vector<CoreGenerics::Generic>& out)
{
    bool overridable = true;
    QString type;
    for (const QString& item : items) {
        AddVerilogItem(item, overridable, type, out);
    }
}

// "A, B : constant natural range 0 to 1 := 0": the default's ':=' ends the type.
void AddVhdlDeclaration(const QString& declaration, std::vector<CoreGenerics::Generic>& out)
{
    static const QRegularExpression constant(QStringLiteral("^constant\\s+"),
                                             QRegularExpression::CaseInsensitiveOption);
    const qsizetype colon = declaration.indexOf(u':');
    if (colon < 0) {
        return;
    }
    QString type = declaration.mid(colon + 1);
    type = type.left(type.indexOf(QLatin1String(":="))).simplified().remove(constant);
    for (const QString& name : declaration.left(colon).split(u',')) {
        out.push_back({name.simplified(), type});
    }
}

}  // namespace

bool CoreGenerics::ReadVerilog(const QString& source, const QString& module,
                               std::vector<Generic>& out)
{
    const QString text = WithoutComments(source, QStringLiteral("//"));
    const QRegularExpression header(QStringLiteral("\\bmodule\\s+%1\\b\\s*(#\\s*\\()?")
                                        .arg(QRegularExpression::escape(module)));
    const QRegularExpressionMatch match = header.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    out.clear();
    if (match.capturedLength(1) == 0) {
        return true;
    }
    const qsizetype begin = match.capturedEnd();
    const qsizetype end = Closing(text, begin);
    if (end >= 0) {
        ReadVerilogItems(SplitTop(text.mid(begin, end - 1 - begin), u','), out);
    }
    return end >= 0;
}

bool CoreGenerics::ReadVhdl(const QString& source, const QString& entity, std::vector<Generic>& out)
{
    const QString text = WithoutComments(source, QStringLiteral("--"));
    const QRegularExpression header(QStringLiteral("\\bentity\\s+%1\\s+is\\b\\s*(generic\\s*\\()?")
                                        .arg(QRegularExpression::escape(entity)),
                                    QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = header.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    out.clear();
    if (match.capturedLength(1) == 0) {
        return true;
    }
    const qsizetype begin = match.capturedEnd();
    const qsizetype end = Closing(text, begin);
    if (end >= 0) {
        for (const QString& declaration : SplitTop(text.mid(begin, end - 1 - begin), u';')) {
            AddVhdlDeclaration(declaration, out);
        }
    }
    return end >= 0;
}

}  // namespace SimC
