#include "Sim_CommandSyntax.h"

#include "Sim_Command.h"
#include "Sim_Utility.h"

#include <QString>

namespace Sim {

namespace {

const CommandSyntax::Form kForms[] = {
    {Command::SET, "SET", 2, "key = value"},
    {Command::CSET, "CSET", 2, "name = value"},
    {Command::END, "END", 0, "no arguments"},
    {Command::GENERATE, "GENERATE", 0, "no arguments"},
    {Command::NEWPROJECT, "NEWPROJECT", 1, "1 argument (path)"},
    {Command::SELECT, "SELECT", 4, "4 arguments (\"name\" vendor library version)"},
    {Command::SETPROJECT, "SETPROJECT", 1, "1 argument (path)"},
};

char UpperAscii(char16_t c)
{
    return static_cast<char>(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
}

}  // namespace

const CommandSyntax::Form* CommandSyntax::Find(int type)
{
    for (const Form& form : kForms) {
        if (form.type == type) {
            return &form;
        }
    }
    return nullptr;
}

const CommandSyntax::Form* CommandSyntax::Find(QStringView keyword)
{
    for (const Form& form : kForms) {
        if (keyword.size() == qsizetype(qstrlen(form.keyword)) &&
            StartsWith(keyword, form.keyword)) {
            return &form;
        }
    }
    return nullptr;
}

bool CommandSyntax::StartsWith(QStringView text, const char* word)
{
    qsizetype i = 0;
    for (; word[i] != '\0'; ++i) {
        if (i == text.size() || text[i].unicode() > 0x7F ||
            UpperAscii(text[i].unicode()) != UpperAscii(static_cast<unsigned char>(word[i]))) {
            return false;
        }
    }
    return true;
}

bool CommandSyntax::IsBlank(QChar c)
{
    return c == u'\t' || (c.isSpace() && !IsControl(c));
}

bool CommandSyntax::IsControl(QChar c)
{
    return c.category() == QChar::Other_Control && c != u'\t';
}

Port::String CommandSyntax::Argument(const Port::String& text, bool key)
{
    bool plain = !text.IsEmpty();
    for (const QChar c : Utility::PortStringToQString(text)) {
        plain = plain && !c.isSpace() && c != u'"' && c != u'\\' && !(key && c == u'=');
    }
    return plain ? text : Quoted(text);
}

Port::String CommandSyntax::Quoted(const Port::String& text)
{
    std::string out = "\"";
    for (const char c : text.str()) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + '"';
}

}  // namespace Sim
