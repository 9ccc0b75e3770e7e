#pragma once

#include <QObject>

#include <boost/shared_ptr.hpp>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace Ipu {
class IP;
class IPComponent;
}  // namespace Ipu

namespace En {

// Whether an IP is usable with the open project's part and options. The engine's list of
// admitted IPs is loaded once per distinct set of options, and every verdict is kept until
// the next load. GUI thread only.
class IpCompatibilityChecker : public QObject {
    Q_OBJECT

public:
    static IpCompatibilityChecker* GetInstance();
    ~IpCompatibilityChecker() override;

    bool IsCompatible(boost::shared_ptr<Ipu::IPComponent> component) const;

public slots:
    // Brings the admitted list up to date with the open project's options.
    void Refresh();

private:
    IpCompatibilityChecker();

    void IndexAdmitted();

    std::unique_ptr<std::vector<boost::shared_ptr<Ipu::IP>>> admitted;
    // The keys of the admitted IPs, so a first question costs a lookup, not a walk.
    std::unordered_set<std::string> admittedKeys;
};

}  // namespace En
