#pragma once

#include <QJsonArray>
#include <QString>
#include <QTextStream>

#include <vector>

#include "Port_StringBase.h"

// Every part of the device database (or of one family): family, device, package and
// speed grade, in database order.
class PartListing {
public:
    struct Part {
        QString family;
        QString device;
        QString package;
        QString speedgrade;
    };

    // family may be internal or visible, in any letter case; empty lists every family.
    // False when the family is unknown.
    bool load(const QString& family);

    QJsonArray toJson() const;
    void printTable(QTextStream& out) const;

private:
    void addFamily(const Port::String& family);

    std::vector<Part> parts;
};
