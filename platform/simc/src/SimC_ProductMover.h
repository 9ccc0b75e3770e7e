#pragma once

#include <QString>
#include <QStringList>

namespace SimC {

// Puts a finished set of products from a staging directory into the output directory, all
// or nothing: each file replaces its target in one rename, and the targets it replaced are
// kept aside until every file is in place, so that a failure midway puts them all back.
class ProductMover {
public:
    ProductMover(const QString& staging, const QString& output);

    // files are names relative to both directories (the products that changed: unchanged
    // ones are never staged). On success, the HDL sources that are new and those replaced,
    // as absolute paths; on failure 1 and the reason, naming the file, with the output
    // directory as it was.
    unsigned Move(const QStringList& files, QString& reason);
    const QStringList& AddedSources() const { return added; }
    const QStringList& UpdatedSources() const { return updated; }

private:
    struct Placed {
        QString target;
        QString aside;  // empty when the target was new
    };
    unsigned Place(const QString& file, QString& reason);
    void Undo();

    QString staging;
    QString output;
    QString asideDirectory;
    QList<Placed> placed;
    QStringList added;
    QStringList updated;
};

}  // namespace SimC
