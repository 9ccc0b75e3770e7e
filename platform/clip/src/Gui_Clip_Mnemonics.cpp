#include "Gui_Clip_Mnemonics.h"

#include <QSet>

namespace Gui {
namespace Clip {

namespace {

qsizetype MarkerOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return i;
        ++i;
    }
    return -1;
}

// The first letter or digit whose key is free gets the marker; a text without one stays
// without a mnemonic rather than taking a key twice.
QString WithFreeKey(const QString& text, QSet<QChar>& used)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar key = text[i].toLower();
        if (text[i] == u'&') {
            ++i;  // a literal "&&" is never a key
            continue;
        }
        if (key.isLetterOrNumber() && !used.contains(key)) {
            used.insert(key);
            return text.left(i) + u'&' + text.mid(i);
        }
    }
    return text;
}

}  // namespace

QStringList Mnemonics::Assign(const QStringList& texts)
{
    QSet<QChar> used;
    QStringList result(texts.size());
    // Mnemonics the texts bring keep their keys first, so that a later text cannot take one.
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QChar key = KeyOf(texts[i]);
        if (!key.isNull() && !used.contains(key)) {
            used.insert(key);
            result[i] = texts[i];
        }
    }
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (result[i].isNull())
            result[i] = WithFreeKey(Stripped(texts[i]), used);
    }
    return result;
}

QChar Mnemonics::KeyOf(const QString& text)
{
    const qsizetype marker = MarkerOf(text);
    return marker < 0 ? QChar() : text[marker + 1].toLower();
}

QString Mnemonics::Stripped(const QString& text)
{
    const qsizetype marker = MarkerOf(text);
    return marker < 0 ? text : text.left(marker) + text.mid(marker + 1);
}

}  // namespace Clip
}  // namespace Gui
