#include "SimC_Upgrade.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Version.h"
#include "Port_MsgManData.h"
#include "Sim_ParameterCheck.h"
#include "Sim_Utility.h"

#include <boost/pointer_cast.hpp>

namespace SimC {

namespace {

QString ToQ(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

bool SameIp(const Ipu::VersionedIdentifier& a, const Ipu::VersionedIdentifier& b)
{
    return a.GetVendor() == b.GetVendor() && a.GetLibrary() == b.GetLibrary() &&
           a.GetName() == b.GetName();
}

}  // namespace

Upgrade::Upgrade(const Ipu::IPComponent& current) : current(current) {}

unsigned Upgrade::ToLatest(QString& reason)
{
    const boost::shared_ptr<Ipu::IPComponent> latest = Latest();
    if (!latest) {
        reason = QStringLiteral("%1: the catalogue has no version of %2")
                     .arg(ToQ(current.GetName()), ToQ(current.GetIdentifier().GetName()));
        return 1;
    }
    result = current.Clone();
    if (!(Ipu::Version(latest->GetIdentifier().GetVersion()) >
          Ipu::Version(current.GetIdentifier().GetVersion()))) {
        return 0;
    }
    const Port::String name = current.GetName();
    const Port::String uniqueId = current.GetUniqueID();
    *result = *latest;
    result->SetName(name);
    result->SetUniqueID(uniqueId);
    result->SetUnconfiguredID(latest->GetIdentifier().GetKey());
    result->SetFileModifiedByUser(false);
    Ipu::ProjectOptions options;
    if (current.GetProjectOptions(options) == 0) {
        result->SetProjectOptions(options);
    }
    CarryOver(current.GetParameters());
    if (!dropped.isEmpty()) {
        Port_MsgManData::createObject("simc", "SimC_Upgrade", __LINE__)
            .issueWarning(
                "Upgrading %s to version %s dropped the values of %s\n", name.c_str(),
                latest->GetIdentifier().GetVersion().c_str(),
                Sim::Utility::QStringToPortString(dropped.join(QLatin1String(", "))).c_str());
    }
    return 0;
}

boost::shared_ptr<Ipu::IPComponent> Upgrade::Latest() const
{
    boost::shared_ptr<Ipu::IPComponent> latest;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto entry = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (!entry || entry->IsCustomized() ||
            !SameIp(entry->GetIdentifier(), current.GetIdentifier())) {
            continue;
        }
        if (!latest || Ipu::Version(entry->GetIdentifier().GetVersion()) >
                           Ipu::Version(latest->GetIdentifier().GetVersion())) {
            latest = entry;
        }
    }
    return latest;
}

// A value the new version refuses is dropped too: its default stands instead.
void Upgrade::CarryOver(const Ipu::Parameters& values)
{
    Ipu::Parameters& parameters = result->GetParameters();
    for (const Ipu::Parameters::Parameter& value : values) {
        Ipu::Parameters::Parameter target;
        QString reason;
        if (parameters.Get(value.name, target) != 0 ||
            !Sim::ParameterCheck::CheckValue(target, value.value, reason)) {
            dropped.append(ToQ(value.name));
            continue;
        }
        parameters.SetValue(value.name, value.value);
    }
}

}  // namespace SimC
