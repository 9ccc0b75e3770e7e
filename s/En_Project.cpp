#include "En_Project.h"

#include <mutex>
#include <vector>

#include "CitP_Factory.h"
#include "En_ActionManager.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_Message.h"
#include "Ipu_CustomizedIP.h"
#include "Ipu_DebugMessengerFactory.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_Keyword.h"
#include "Ipu_Legacy.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_SetWorkingDirectory.h"
#include "Ipu_VersionedIdentifier.h"
#include "Port_DirectoryMaker.h"
#include "Port_File.h"
#include "SimC_Identifiers.h"
#include "Sim_FamilySupport.h"
#include "Sim_Utility.h"
#include "UT_TIME.h"

namespace En {
namespace {

// The one-entry cache of the last verdict. Two threads may verify at once, and a torn
// read of the cached part (four strings) could crash, so it is guarded.
struct VerifiedPartCache {
    std::mutex mutex;
    Ipu::PelPart _lastVerifiedPart;
    bool _lastVerifiedPartValid = false;
};

VerifiedPartCache& verifiedPartCache()
{
    static VerifiedPartCache cache;
    return cache;
}

bool sameText(const Port::String& a, const Port::String& b)
{
    return a.Compare(b, Port::CompareIgnoreCase) == 0;
}

bool contains(const std::vector<Port::String>& list, const Port::String& text)
{
    for (const Port::String& entry : list) {
        if (sameText(entry, text))
            return true;
    }
    return false;
}

QString toQString(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

bool isProjectExtension(const Port::String& extension)
{
    for (const char* known :
         {Ipu::Legacy::DEPRECATED_PROJECT_FILE_EXTENSION, Ipu::Legacy::PROJECT_FILE_EXTENSION,
          Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION}) {
        if (extension.Compare(known, Port::CompareIgnoreCase) == 0)
            return true;
    }
    return false;
}

void setProjectPaths(const Port::String& file)
{
    Global::_batchCommandRuntimeOptions.SetProjectPath(file);
    Global::_guiRuntimeOptions.SetProjectPath(file);
    Global::_guiRuntimeOptions.SetBatchCommandPath(file);
}

}  // namespace

Project::Project()
{
    LoadEngine();
}

Project::Project(boost::shared_ptr<Ipu::IPComposite> design)
{
    LoadEngine();
    composite = std::move(design);
}

Project::Project(const Port::FileName& file, bool create)
{
    LoadEngine();
    composite = create ? CreateNewProject(file) : OpenExistingProject(file);
}

Project::Project(const Ipu::ProjectOptions& options)
{
    LoadEngine();
    Port::String name;
    if (options.GetFullProjectName(name) != 0)
        return;
    const Port::FileName file(name);
    composite = Port::File::exist(name) ? OpenExistingProject(file) : CreateNewProject(file);
}

Project::Project(const Project& other) = default;

Project& Project::operator=(const Project& other)
{
    if (this != &other) {
        Project copy(other);
        swap(copy);
    }
    return *this;
}

Project::~Project()
{
    if (composite) {
        Ipu::DebugMessengerFactory::GetLogger("projmgr").Normal("Closing project %s\n",
                                                                GetFullFileName().c_str());
        if (projectInterface)
            projectInterface->CloseDesign(composite->GetUniqueID());
    }
    composite.reset();
    designInterface.reset();
    projectInterface.reset();
}

void Project::swap(Project& other) noexcept
{
    std::swap(projectInterface, other.projectInterface);
    std::swap(designInterface, other.designInterface);
    std::swap(composite, other.composite);
}

void Project::LoadEngine()
{
    if (CitP::Factory::LoadLibraryFactory(SimC::ENGINE_LIBRARY) != 0)
        return;
    const CitP::Ref<CitP::Interface> engine =
        CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine);
    projectInterface = engine.Query<SimC::IProjectManager>();
    designInterface = engine.Query<SimC::IDesignManager>();
}

boost::shared_ptr<Ipu::IPComposite> Project::DesignFromID(const Port::String& id,
                                                          const Port::String& path) const
{
    boost::shared_ptr<Ipu::IPComposite> design;
    if (!id.IsEmpty())
        design = boost::dynamic_pointer_cast<Ipu::IPComposite>(Ipu::ElementIndex::GetElement(id));
    if (!design)
        EN_MESSAGE("En_Project").issueError("Project %s could not be opened\n", path.c_str());
    return design;
}

boost::shared_ptr<Ipu::IPComposite> Project::CreateNewProject(const Port::FileName& file)
{
    const Port::String absolute = file.GetAbsolutePath();
    const Port::FileName name(absolute);
    const Ipu::VersionedIdentifier identifier(Ipu::Keyword::GANTREL_VENDOR, "Gantrel",
                                              name.GetBase(), "1.0");
    setProjectPaths(name.GetFullName());
    // Without the engine the host has said why once; each project stays quiet.
    if (!projectInterface)
        return {};
    const Port::String id = projectInterface->CreateDesign(name.GetFullName(), identifier.GetKey());
    return DesignFromID(id, absolute);
}

boost::shared_ptr<Ipu::IPComposite> Project::OpenExistingProject(const Port::FileName& file)
{
    const Port::String absolute = file.GetAbsolutePath();
    const Port::FileName name(absolute);
    setProjectPaths(name.GetFullName());
    if (!projectInterface)
        return {};
    return DesignFromID(projectInterface->OpenDesign(name.GetFullName()), absolute);
}

bool Project::IsValid() const
{
    return AreProjectOptionsValid();
}

Port::String Project::GetFullFileName() const
{
    return composite ? composite->GetProjectFileName().GetAbsolutePath(false) : Port::String();
}

Port::String Project::GetFullFileName(const Port::String& name)
{
    const Port::FileName given(name);
    if (Port::File::isfile(name) || isProjectExtension(given.GetExtension()))
        return given.GetAbsolutePath();
    Port::String first;
    for (const char* extension :
         {Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION,
          Ipu::Legacy::PROJECT_FILE_EXTENSION, Ipu::Legacy::DEPRECATED_PROJECT_FILE_EXTENSION}) {
        Port::FileName candidate;
        candidate.SetHead(given.GetAbsolutePath());
        candidate.SetBase(Ipu::Keyword::GANTREL_DEFAULT_PROJECT_NAME);
        candidate.SetExtension(extension);
        const Port::String path = candidate.GetAbsolutePath();
        if (Port::File::isfile(path))
            return path;
        if (first.IsEmpty())
            first = path;
    }
    return first;
}

QString Project::GetFileName() const
{
    return composite ? toQString(composite->GetProjectFileName().GetTail()) : QString();
}

QString Project::GetName() const
{
    Ipu::ProjectOptions options;
    Port::String name;
    if (GetProjectOptions(options) != 0 || options.GetProjectName(name) != 0)
        return QString();
    if (name.IsEmpty())
        name = Port::FileName(GetFullFileName()).GetBase();
    if (name.IsEmpty())
        name = Ipu::Keyword::GANTREL_DEFAULT_PROJECT_NAME;
    return toQString(name);
}

Port::String Project::GetDesignID() const
{
    return composite ? composite->GetUniqueID() : Port::String();
}

QString Project::GetDateModified() const
{
    long long time = 0;
    if (!composite || !Port::File::getdatetime(GetFullFileName(), time))
        return QString();
    return toQString(UT_TIME::FormatLocalTime(time, "on %Y-%m-%d at %H:%M"));
}

unsigned Project::GetProjectOptions(Ipu::ProjectOptions& options) const
{
    return composite ? composite->GetProjectOptions(options) : 1;
}

bool Project::HasProperty(const QString& name) const
{
    return composite && composite->HasProperty(Sim::Utility::QStringToPortString(name));
}

QString Project::GetProperty(const QString& name) const
{
    Port::String value;
    if (composite)
        composite->GetPropertyValue(Sim::Utility::QStringToPortString(name), value);
    return toQString(value);
}

bool Project::FileModifiedByUser() const
{
    return composite && composite->IsFileModifiedByUser();
}

int Project::CountIP() const
{
    return composite ? int(composite->CountElements()) : 0;
}

QList<Ip> Project::GetIpList() const
{
    QList<Ip> list;
    if (!composite)
        return list;
    for (const auto& element : composite->GetElements()) {
        if (auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element))
            list.append(Ip(component));
    }
    return list;
}

QList<Action*> Project::GetActionsList()
{
    return ActionManager::GetInstance()->GetActionList(*this);
}

QMap<QString, Action*> Project::GetActionsMap()
{
    return ActionManager::GetInstance()->GetActionMap(*this);
}

Action* Project::GetDefaultAction()
{
    return ActionManager::GetInstance()->GetDefaultAction(*this);
}

boost::shared_ptr<Ipu::IPComponent> Project::GetIPComponent(const Port::String& id)
{
    if (!composite) {
        EN_MESSAGE("En_Project").issueError("Cannot get IP from invalid project.\n");
        return {};
    }
    if (id.IsEmpty()) {
        EN_MESSAGE("En_Project").issueError("Empty IP identifier passed to project.\n");
        return {};
    }
    if (!EndWatchThread::IsRunning() || !composite->HasElement(id))
        return {};
    return boost::dynamic_pointer_cast<Ipu::IPComponent>(composite->FindElement(id));
}

bool Project::HasIP(const Port::String& id)
{
    return static_cast<bool>(GetIPComponent(id));
}

Ip Project::GetIP(const Port::String& id)
{
    return Ip(GetIPComponent(id));
}

bool Project::SaveProject() const
{
    Ipu::ProjectOptions options;
    if (!projectInterface || GetProjectOptions(options) != 0)
        return false;
    // Beside the project's own file: the shared project path names whichever project was
    // opened last.
    const Port::String directory = Port::FileName(GetFullFileName()).GetHead();
    Port::DirectoryMaker made;  // taken back unless the save succeeds
    if (!Port::File::isdir(directory) && !made.Make(directory))
        EN_MESSAGE("En_Project")
            .issueError("Unable to use project directory '%s'.\n", directory.c_str());
    const Ipu::SetWorkingDirectory inProjectDirectory(directory);
    const bool saved = projectInterface->SaveDesign(composite->GetUniqueID());
    if (saved)
        made.Keep();
    return saved;
}

void Project::SetProjectOptions(const Ipu::ProjectOptions& options)
{
    if (!composite)
        return;
    composite->SetFileModifiedByUser(false);
    composite->SetProjectOptions(options);
}

void Project::RemoveFileModifiedStatus()
{
    if (composite)
        composite->SetFileModifiedByUser(false);
}

boost::shared_ptr<Ipu::IPComponent> Project::AddIP(const Ip& ip)
{
    if (!composite) {
        EN_MESSAGE("En_Project").issueError("Cannot add IP to invalid project.\n");
        return {};
    }
    if (!ip.IsCustomised()) {
        EN_MESSAGE("En_Project").issueError("Uncustomized IP passed to project.\n");
        return {};
    }
    if (!EndWatchThread::IsRunning())
        return {};
    const boost::shared_ptr<Ipu::IPComponent> source = ip.GetCustomisedIp().GetIPComponent();
    const Port::String name = source->Ipu::Element::GetName();
    const Port::String file = GetFullFileName();
    if (ip.GetIpType() != Ipu::IP::WIZARD_IP && VerifyProjectOptions(ip.GetProjectOptions()) != 0)
        EN_MESSAGE("En_Project")
            .issueWarning("Invalid existing device and part options for IP %s in design '%s'\n",
                          name.c_str(), file.c_str());

    const auto member = composite->FindElement(name);
    if (member && member->Ipu::Element::GetName().Compare(name, Port::CompareIgnoreCase) == 0) {
        if (auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(member)) {
            component->UpdateFrom(*source);
            return component;
        }
        if (auto design = boost::dynamic_pointer_cast<Ipu::IPComposite>(member)) {
            const Port::String designFile = design->GetProjectFileName().GetAbsolutePath(false);
            EN_MESSAGE("En_Project")
                .issueError(
                    "Cannot add IP %s to Design %s, name clash with hierarchical "
                    "design %s\n",
                    name.c_str(), file.c_str(), designFile.c_str());
        } else {
            EN_MESSAGE("En_Project")
                .issueError("Cannot add IP %s to Design %s\n", name.c_str(), file.c_str());
        }
        return {};
    }
    if (!designInterface)
        return {};
    const Port::String id =
        designInterface->AddComponent(composite->GetUniqueID(), source->GetKey(), name,
                                      source->GetDisplayName(), source->GetDescription());
    auto added = boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(id));
    if (added)
        added->UpdateFrom(*source);
    return added;
}

Ipu::TaskList Project::GetTaskList() const
{
    Ipu::TaskList tasks;
    if (!composite)
        return tasks;
    const Ipu::GeneratorChainList& chains = composite->GetGeneratorChains();
    if (ProjectCanBeRegenerated()) {
        if (const auto chain = chains.Get(Ipu::Task::REGENERATE_PROJECT))
            tasks.AddTask(Ipu::Task(chain));
    }
    if (ProjectCanBeUpgraded()) {
        if (const auto chain = chains.Get(Ipu::Task::UPGRADE_AND_REGENERATE_PROJECT))
            tasks.AddTask(Ipu::Task(chain));
    }
    tasks.AddTask(Ipu::Task(Ipu::Task::CHANGE_PROJECT_OPTIONS, "Project Options", true, 0,
                            Ipu::Task::IPTYPE_ANY, Ipu::Task::FAMILYDEPENDENCE_INDEPENDENT));
    tasks.AddTask(Ipu::Task(Ipu::Task::IMPORT_GTC_FILE, "Import Existing Customised IP", false, 0,
                            Ipu::Task::IPTYPE_ANY, Ipu::Task::FAMILYDEPENDENCE_INDEPENDENT));
    return tasks;
}

Ipu::Task Project::GetDefaultTask() const
{
    Ipu::Task task;
    if (composite)
        GetTaskList().GetDefaultTask(task);
    return task;
}

bool Project::IsPartAvailable(const Ipu::PelPart& part)
{
    // Each list is asked with the part's own texts, so one match per level suffices.
    std::vector<Port::String> families, devices, packages, grades;
    return Sim::FamilySupport::GetAvailableFamilies(families) == 0 &&
           contains(families, part.GetFamily()) &&
           Sim::FamilySupport::GetAvailableDevices(part.GetFamily(), devices) == 0 &&
           contains(devices, part.GetDevice()) &&
           Sim::FamilySupport::GetAvailablePackages(part.GetFamily(), part.GetDevice(), packages) ==
               0 &&
           contains(packages, part.GetPackage()) &&
           Sim::FamilySupport::GetAvailableSpeedGrades(part.GetFamily(), part.GetDevice(),
                                                       part.GetPackage(), grades) == 0 &&
           contains(grades, part.GetSpeedGrade());
}

unsigned Project::SilentlyVerifyProjectOptions(const Ipu::ProjectOptions& options)
{
    const Ipu::PelPart part = options.GetPelPart();
    VerifiedPartCache& cache = verifiedPartCache();
    {
        std::lock_guard<std::mutex> lock(cache.mutex);
        if (part == cache._lastVerifiedPart)
            return cache._lastVerifiedPartValid ? 0 : 1;
    }
    const bool valid = part.IsDefined() && IsPartAvailable(part);
    {
        std::lock_guard<std::mutex> lock(cache.mutex);
        cache._lastVerifiedPart = part;
        cache._lastVerifiedPartValid = valid;
    }
    return valid ? 0 : 1;
}

unsigned Project::VerifyProjectOptions(const Ipu::ProjectOptions& options)
{
    const Ipu::PelPart part = options.GetPelPart();
    if (part.IsDefined()) {
        if (SilentlyVerifyProjectOptions(options) == 0)
            return 0;
    } else {
        const struct {
            Port::String text;
            const char* warning;
        } fields[] = {
            {part.GetFamily(), "Invalid project options. Family not set.\n"},
            {part.GetDevice(), "Invalid project options. Device not set.\n"},
            {part.GetPackage(), "Invalid project options. Package not set.\n"},
            {part.GetSpeedGrade(), "Invalid project options. Speed grade not set.\n"},
        };
        for (const auto& field : fields) {
            if (field.text.IsEmpty())
                EN_MESSAGE("En_Project").issueWarning("%s", field.warning);
        }
    }
    EN_MESSAGE("En_Project")
        .issueWarning(
            "Project options (family='%s', device='%s', package='%s', speed grade='%s') are "
            "inconsistent, unavailable or incorrectly entered.\n",
            part.GetFamily().c_str(), part.GetDevice().c_str(), part.GetPackage().c_str(),
            part.GetSpeedGrade().c_str());
    return 1;
}

unsigned Project::SilentlyVerifyProjectOptions() const
{
    Ipu::ProjectOptions options;
    if (!composite || !EndWatchThread::IsRunning() || GetProjectOptions(options) != 0)
        return 1;
    return SilentlyVerifyProjectOptions(options);
}

unsigned Project::VerifyProjectOptions() const
{
    Ipu::ProjectOptions options;
    if (!composite || !EndWatchThread::IsRunning() || GetProjectOptions(options) != 0)
        return 1;
    return VerifyProjectOptions(options);
}

bool Project::AreProjectOptionsValid() const
{
    Ipu::ProjectOptions options;
    return composite && GetProjectOptions(options) == 0 &&
           SilentlyVerifyProjectOptions(options) == 0;
}

unsigned Project::SetDefaultPart()
{
    Ipu::ProjectOptions options;
    if (GetProjectOptions(options) != 0)
        return 1;
    Ipu::PelPart part = options.GetPelPart();
    Port::String family = part.GetFamily(), device, package, grade;
    const unsigned found =
        family.IsEmpty()
            ? Sim::FamilySupport::GetDefaultFamilyAndPart(family, device, package, grade)
            : Sim::FamilySupport::GetDefaultPart(family, device, package, grade);
    if (found != 0)
        return 1;
    if (options.SetDeviceFamily(family) != 0 || options.SetDevice(device) != 0 ||
        options.SetPackage(package) != 0 || options.SetSpeedGrade(grade) != 0)
        return 1;
    return composite->SetProjectOptions(options) == 0 ? 0 : 1;
}

bool Project::ProjectCanBeRegenerated() const
{
    Ipu::ProjectOptions options;
    if (!composite || GetProjectOptions(options) != 0 || SilentlyVerifyProjectOptions(options) != 0)
        return false;
    const Ipu::VersionedIdentifier regenerate(Ipu::Keyword::GANTREL_VENDOR, "generatorchains",
                                              "generate_current_chain", "1.0");
    for (const auto& element : composite->GetElements()) {
        const auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && component->IsValidForPart(options.GetPelPart()) &&
            component->GetGeneratorChains().Has(regenerate))
            return true;
    }
    return false;
}

bool Project::ProjectCanBeUpgraded() const
{
    Ipu::ProjectOptions options;
    if (!composite || GetProjectOptions(options) != 0 || SilentlyVerifyProjectOptions(options) != 0)
        return false;
    for (const auto& element : composite->GetElements()) {
        const auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && Ip(component).CanUpgradedIpBeRegenerated(options))
            return true;
    }
    return false;
}

}  // namespace En
