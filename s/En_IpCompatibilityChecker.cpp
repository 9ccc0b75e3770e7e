#include "En_IpCompatibilityChecker.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include "En_Global.h"
#include "En_Message.h"
#include "En_ProjectManager.h"
#include "Ipu_Filter.h"
#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"

namespace En {
namespace {

// What outlives one checker: the options of the last successful load, and the verdicts.
struct CheckerState {
    std::unique_ptr<Ipu::ProjectOptions> loadedFor;
    QMap<QString, bool> verdicts;
};

CheckerState& state()
{
    static CheckerState instance;
    return instance;
}

// The whole identifier: two vendors may each have an IP of one name and version, and
// each gets its own verdict. Fields are kept apart by a separator that no field holds.
QString identity(const Ipu::IPComponent& component)
{
    const Ipu::VersionedIdentifier& id = component.GetIdentifier();
    const QString separator = QStringLiteral("&_&") + QChar(0xA3);
    QStringList fields;
    for (const Port::String& field :
         {id.GetVendor(), id.GetLibrary(), id.GetName(), id.GetVersion()})
        fields.append(QString::fromLatin1(field.c_str()));
    return fields.join(separator);
}

}  // namespace

IpCompatibilityChecker* IpCompatibilityChecker::GetInstance()
{
    static IpCompatibilityChecker* instance = new IpCompatibilityChecker;
    return instance;
}

IpCompatibilityChecker::IpCompatibilityChecker() : QObject(nullptr)
{
    Refresh();
}

IpCompatibilityChecker::~IpCompatibilityChecker() = default;

void IpCompatibilityChecker::Refresh()
{
    CheckerState& s = state();
    ProjectManager* manager = ProjectManager::GetInstance();
    if (!manager->ProjectOpen()) {
        s.loadedFor.reset();
        admitted.reset();
        admittedKeys.clear();
        return;
    }
    const Ipu::ProjectOptions options = *manager->GetProjectOptions();
    if (s.loadedFor && !(*s.loadedFor != options))
        return;
    s.verdicts.clear();
    admitted = std::make_unique<std::vector<boost::shared_ptr<Ipu::IP>>>();
    const unsigned status =
        Global::_api.GetIPList(Global::_guiRuntimeOptions, options, Ipu::Filter(), *admitted);
    IndexAdmitted();
    if (status != 0) {
        EN_MESSAGE("En_IpCompatibilityChecker").issueWarning("Could not obtain IP list\n");
        return;
    }
    s.loadedFor = std::make_unique<Ipu::ProjectOptions>(options);
}

void IpCompatibilityChecker::IndexAdmitted()
{
    admittedKeys.clear();
    admittedKeys.reserve(admitted->size());
    for (const auto& ip : *admitted) {
        if (const auto component = ip->GetIPComponent())
            admittedKeys.insert(component->GetKey().str());
    }
}

bool IpCompatibilityChecker::IsCompatible(boost::shared_ptr<Ipu::IPComponent> component) const
{
    if (!admitted || !component)
        return false;
    QMap<QString, bool>& verdicts = state().verdicts;
    const QString key = identity(*component);
    const auto cached = verdicts.constFind(key);
    if (cached != verdicts.constEnd())
        return cached.value();
    const bool verdict = admittedKeys.count(component->GetKey().str()) != 0;
    verdicts.insert(key, verdict);
    return verdict;
}

}  // namespace En
