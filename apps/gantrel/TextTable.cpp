#include "TextTable.h"

#include <algorithm>

TextTable::TextTable(const QStringList& header)
{
    rows.append(header);
}

void TextTable::addRow(const QStringList& cells)
{
    rows.append(cells);
}

void TextTable::print(QTextStream& out) const
{
    QList<int> widths(rows.first().size(), 0);
    for (const QStringList& row : rows) {
        for (int column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = std::max(widths[column], int(row[column].size()));
    }
    for (const QStringList& row : rows) {
        QString line;
        for (int column = 0; column < row.size() && column < widths.size(); ++column) {
            const bool last = column + 1 == row.size();
            line += last ? row[column] : row[column].leftJustified(widths[column] + 2);
        }
        out << line << '\n';
    }
}
