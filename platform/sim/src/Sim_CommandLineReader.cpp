#include "Sim_CommandLineReader.h"

#include "Sim_Command.h"
#include "Sim_Utility.h"

namespace Sim {

namespace {

// A word quoted in a message is cut short: the line number leads to the rest of it.
QString Shown(QStringView word)
{
    constexpr qsizetype kLimit = 60;
    if (word.size() <= kLimit) {
        return word.toString();
    }
    const qsizetype cut = word[kLimit - 4].isHighSurrogate() ? kLimit - 4 : kLimit - 3;
    return word.left(cut).toString() + QStringLiteral("...");
}

// The character at pos whole, a surrogate pair included.
QStringView CharacterAt(QStringView text, qsizetype pos)
{
    return text.mid(pos, text[pos].isHighSurrogate() ? 2 : 1);
}

QString Code(QChar c)
{
    return QStringLiteral("U+") +
           QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0');
}

}  // namespace

CommandLineReader::Outcome CommandLineReader::ReadLine(QStringView line, int& type,
                                                       std::vector<Port::String>& arguments,
                                                       QString& reason)
{
    CommandLineReader reader(line);
    reader.SkipBlanks();
    const QStringView rest = line.mid(reader.pos);
    if (rest.isEmpty() || rest.front() == u'#' || CommandSyntax::StartsWith(rest, "COMPLETE")) {
        return Skipped;
    }
    std::vector<QString> words;
    if (!reader.Parse(type, words)) {
        reason = reader.reason;
        return Refused;
    }
    arguments.clear();
    for (const QString& word : words) {
        arguments.push_back(Utility::QStringToPortString(word));
    }
    return Read;
}

bool CommandLineReader::Parse(int& type, std::vector<QString>& arguments)
{
    for (const QChar c : line) {
        if (CommandSyntax::IsControl(c)) {
            return Refuse(QStringLiteral("control character %1").arg(Code(c)));
        }
    }
    const qsizetype start = pos;
    while (!AtEnd() && !CommandSyntax::IsBlank(line[pos])) {
        ++pos;
    }
    const QStringView keyword = line.mid(start, pos - start);
    const CommandSyntax::Form* form = CommandSyntax::Find(keyword);
    if (!form) {
        return Refuse(QStringLiteral("unknown command '%1'").arg(Shown(keyword)));
    }
    type = form->type;
    if (type == Command::SET || type == Command::CSET) {
        return Assignment(*form, arguments);
    }
    if (!Rest(arguments)) {
        return false;
    }
    if (arguments.size() != static_cast<std::size_t>(form->arguments)) {
        return Refuse(QStringLiteral("%1 takes %2, not %3")
                          .arg(QLatin1String(form->keyword), QLatin1String(form->usage))
                          .arg(arguments.size()));
    }
    return true;
}

// key = value, with or without blanks around '='. The value is one word, which must be
// quoted to be empty, so that a forgotten value is not taken for an empty one.
bool CommandLineReader::Assignment(const CommandSyntax::Form& form, std::vector<QString>& arguments)
{
    const QLatin1String keyword(form.keyword);
    QString key;
    SkipBlanks();
    if (!Word(true, key)) {
        return false;
    }
    SkipBlanks();
    if (key.isEmpty() || AtEnd() || line[pos] != u'=') {
        return Refuse(QStringLiteral("%1 needs %2").arg(keyword, QLatin1String(form.usage)));
    }
    ++pos;
    if (!Rest(arguments)) {
        return false;
    }
    if (arguments.empty()) {
        return Refuse(QStringLiteral("%1 needs a value after '=' (write \"\" for an empty value)")
                          .arg(keyword));
    }
    if (arguments.size() > 1) {
        return Refuse(
            QStringLiteral("%1 takes one value after '=', not %2 (quote a value that holds blanks)")
                .arg(keyword)
                .arg(arguments.size()));
    }
    arguments.insert(arguments.begin(), key);
    return true;
}

bool CommandLineReader::Rest(std::vector<QString>& arguments)
{
    for (SkipBlanks(); !AtEnd(); SkipBlanks()) {
        QString word;
        if (!Word(false, word)) {
            return false;
        }
        arguments.push_back(word);
    }
    return true;
}

// An assignment's key also ends at '=', so that "SET a=b" reads as "SET a = b".
bool CommandLineReader::Word(bool key, QString& out)
{
    return !AtEnd() && line[pos] == u'"' ? QuotedWord(key, out) : BareWord(key, out);
}

bool CommandLineReader::QuotedWord(bool key, QString& out)
{
    for (++pos; !AtEnd() && line[pos] != u'"'; ++pos) {
        if (line[pos] != u'\\') {
            out += line[pos];
        } else if (!Escape(out)) {
            return false;
        }
    }
    if (AtEnd()) {
        return Refuse(QStringLiteral("unterminated quote"));
    }
    ++pos;
    if (!AtEnd() && !CommandSyntax::IsBlank(line[pos]) && !(key && line[pos] == u'=')) {
        return Refuse(QStringLiteral("a blank must follow the closing quote"));
    }
    return true;
}

// Only \" and \\: any other backslash inside quotes is more likely a mistake (a Windows
// path) than something to guess at.
bool CommandLineReader::Escape(QString& out)
{
    ++pos;
    if (AtEnd()) {
        return Refuse(QStringLiteral("unterminated quote"));
    }
    if (line[pos] != u'"' && line[pos] != u'\\') {
        return Refuse(
            QStringLiteral("unknown escape '\\%1' inside quotes (write \\\\ for a backslash)")
                .arg(CharacterAt(line, pos)));
    }
    out += line[pos];
    return true;
}

// A bare word is taken as it stands, backslashes included; a quote may only open a word.
bool CommandLineReader::BareWord(bool key, QString& out)
{
    const qsizetype start = pos;
    while (!AtEnd() && !CommandSyntax::IsBlank(line[pos]) && !(key && line[pos] == u'=')) {
        ++pos;
    }
    const QStringView word = line.mid(start, pos - start);
    if (word.contains(u'"')) {
        return Refuse(
            QStringLiteral("stray quote in '%1' (quote the whole argument)").arg(Shown(word)));
    }
    out = word.toString();
    return true;
}

bool CommandLineReader::Refuse(const QString& why)
{
    reason = why;
    return false;
}

void CommandLineReader::SkipBlanks()
{
    while (!AtEnd() && CommandSyntax::IsBlank(line[pos])) {
        ++pos;
    }
}

}  // namespace Sim
