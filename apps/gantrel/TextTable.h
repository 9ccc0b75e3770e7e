#pragma once

#include <QStringList>
#include <QTextStream>

// Rows of text printed in aligned columns, the first row being the header.
class TextTable {
public:
    explicit TextTable(const QStringList& header);

    void addRow(const QStringList& cells);
    // Every column padded to its widest cell, two blanks apart; no trailing blanks.
    void print(QTextStream& out) const;

private:
    QList<QStringList> rows;
};
