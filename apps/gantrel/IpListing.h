#pragma once

#include <QJsonArray>
#include <QTextStream>

#include <boost/shared_ptr.hpp>
#include <vector>

namespace Ipu {
class IPComponent;
class Parameters;
}  // namespace Ipu

// The catalogue as people and scripts read it: one row or JSON object per IP, ordered by
// vendor:library:name, then by version as versions order ("1.10" after "1.2").
class IpListing {
public:
    explicit IpListing(std::vector<boost::shared_ptr<Ipu::IPComponent>> components);
    // Every catalogue entry (not the customized IPs) of the element index.
    static IpListing FromElementIndex();

    // One object per parameter: name, value and its constraints.
    static QJsonArray parametersJson(const Ipu::Parameters& parameters);

    QJsonArray toJson() const;
    void printTable(QTextStream& out) const;

private:
    std::vector<boost::shared_ptr<Ipu::IPComponent>> components;
};
