#pragma once

#include "Port_StringBase.h"

#include <QChar>
#include <QStringView>

namespace Sim {

// The words of the batch language, shared by the command-file reader and by
// Command::ToString so that whatever one writes the other reads back unchanged.
class CommandSyntax {
public:
    CommandSyntax() = delete;

    struct Form {
        int type;
        const char* keyword;  // as written, upper case
        int arguments;
        const char* usage;  // what the arguments are, for messages
    };

    // The form of a command type; null for NONE and unknown types.
    static const Form* Find(int type);
    // The form for a keyword in any letter case; null for an unknown word. Only ASCII
    // letters fold, so that no other script's letters pass for a keyword.
    static const Form* Find(QStringView keyword);
    // Whether text begins with word, ASCII letters compared ignoring case.
    static bool StartsWith(QStringView text, const char* word);
    // Words are separated by white space; control characters other than the tab are
    // never blanks, since a command line may not hold them at all.
    static bool IsBlank(QChar c);
    static bool IsControl(QChar c);
    // The argument as it reads back as one word: bare when it can be, else quoted. An
    // assignment's key is also quoted when it holds '=', which would end it.
    static Port::String Argument(const Port::String& text, bool key = false);
    // In double quotes, '"' and '\' escaped by a backslash; bytes otherwise kept.
    static Port::String Quoted(const Port::String& text);
};

}  // namespace Sim
