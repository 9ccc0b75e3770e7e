#pragma once

#include <QString>
#include <QStringList>

// Keyboard mnemonics for texts shown together (one menu, one window): each text gets an
// "&" before a letter no other text of the list uses. Keys ignore letter case, so "A" and
// "a" count as one. A text's own mnemonic stays when its key is still free.
class Mnemonics {
public:
    Mnemonics() = delete;

    static QStringList Assign(const QStringList& texts);
    // The key of text's mnemonic in lower case; null when it has none ("&&" is a literal
    // ampersand).
    static QChar KeyOf(const QString& text);
    // text without its mnemonic marker, literal ampersands kept.
    static QString Stripped(const QString& text);
};
