#pragma once

#include "Port_StringBase.h"
#include "Sim_CommandSyntax.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace Sim {

// Reads one line of a command file (docs/batch-language.md): skips comments, blank lines
// and the polling marker COMPLETE, and splits a command into its keyword and unquoted
// arguments, checking their number.
class CommandLineReader {
public:
    enum Outcome { Skipped, Read, Refused };

    // line without its line end. On Refused, reason says why, without file or line.
    static Outcome ReadLine(QStringView line, int& type, std::vector<Port::String>& arguments,
                            QString& reason);

private:
    explicit CommandLineReader(QStringView line) : line(line) {}

    bool Parse(int& type, std::vector<QString>& arguments);
    bool Assignment(const CommandSyntax::Form& form, std::vector<QString>& arguments);
    bool Rest(std::vector<QString>& arguments);
    bool Word(bool key, QString& out);
    bool QuotedWord(bool key, QString& out);
    bool BareWord(bool key, QString& out);
    bool Escape(QString& out);
    bool Refuse(const QString& why);
    void SkipBlanks();
    bool AtEnd() const { return pos == line.size(); }

    QStringView line;
    qsizetype pos = 0;
    QString reason;
};

}  // namespace Sim
