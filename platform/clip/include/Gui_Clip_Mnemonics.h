#pragma once

#include <QString>
#include <QStringList>

namespace Gui {
namespace Clip {

// Keyboard mnemonics for texts shown together (one menu, one dialog): each text gets an "&"
// before a letter or digit no other text of the list uses. Keys ignore letter case, so "A"
// and "a" count as one. A text's own mnemonic stays when its key is still free; a text
// with no free letter is left without one.
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

}  // namespace Clip
}  // namespace Gui
