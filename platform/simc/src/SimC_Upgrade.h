#pragma once

#include "Ipu_IPComponent.h"

#include <QString>
#include <QStringList>

#include <boost/shared_ptr.hpp>

namespace SimC {

// Moves a customized IP to the newest catalogue version of its vendor, library and name:
// the new version's model, files and chains, with the IP's name, identity, options and
// those parameter values the new version still has and still accepts.
class Upgrade {
public:
    explicit Upgrade(const Ipu::IPComponent& current);

    // 0 with Result() the upgraded copy (an unchanged copy when the IP is the newest
    // already); 1 and the reason when the catalogue lacks the IP.
    unsigned ToLatest(QString& reason);
    boost::shared_ptr<Ipu::IPComponent> Result() const { return result; }
    // Parameters whose values the new version has no place for, or refuses.
    const QStringList& Dropped() const { return dropped; }

private:
    boost::shared_ptr<Ipu::IPComponent> Latest() const;
    void CarryOver(const Ipu::Parameters& values);

    const Ipu::IPComponent& current;
    boost::shared_ptr<Ipu::IPComponent> result;
    QStringList dropped;
};

}  // namespace SimC
