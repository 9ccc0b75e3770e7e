#include "Sim_CommandExecutor.h"

#include "CitP_Factory.h"
#include "CitP_Ref.h"
#include "Ipu_CustomizedIP.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComposite.h"
#include "Ipu_Task.h"
#include "Ipu_Utilities.h"
#include "Port_MsgManData.h"
#include "SimC_IGenerationEngine.h"
#include "SimC_IProjectManager.h"
#include "SimC_Identifiers.h"
#include "Sim_GenerationWait.h"
#include "Sim_ParameterCheck.h"
#include "Sim_Utility.h"

#include <boost/pointer_cast.hpp>

namespace Sim {

namespace {

// Every refusal names where the command was written.
unsigned Refuse(const Command& command, const QString& reason)
{
    Port_MsgManData::createObject("sim", "Sim_CommandExecutor", __LINE__)
        .issueError("%s%s\n", command.Where().c_str(),
                    Utility::QStringToPortString(reason).c_str());
    return 1;
}

QString Q(const Port::String& text)
{
    return Utility::PortStringToQString(text);
}

// The catalogue entry SELECT names: by display name or by identifier name.
boost::shared_ptr<Ipu::IPComponent> FindCatalogueIp(const std::vector<Port::String>& select)
{
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto ip = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (!ip || ip->IsCustomized()) {
            continue;
        }
        const Ipu::VersionedIdentifier& id = ip->GetIdentifier();
        if ((ip->GetUnconfiguredDisplayName() == select[0] || id.GetName() == select[0]) &&
            id.GetVendor() == select[1] && id.GetLibrary() == select[2] &&
            id.GetVersion() == select[3]) {
            return ip;
        }
    }
    return {};
}

template <typename Interface>
CitP::Ref<Interface> EngineInterface()
{
    if (CitP::Factory::LoadLibraryFactory(SimC::ENGINE_LIBRARY) != 0) {
        return {};
    }
    return CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine).Query<Interface>();
}

// The open design a generated IP went into: its member ids are "<design id>/<name>".
Port::String DesignOf(const Ipu::IPComponent& member)
{
    const std::string id = member.GetUniqueID().c_str();
    const std::string::size_type slash = id.rfind('/');
    if (slash == std::string::npos) {
        return Port::String();
    }
    const Port::String designId(id.substr(0, slash).c_str());
    return boost::dynamic_pointer_cast<Ipu::IPComposite>(Ipu::ElementIndex::GetElement(designId))
               ? designId
               : Port::String();
}

}  // namespace

CommandExecutor::CommandExecutor(const Ipu::RuntimeOptions& options)
    : projectOptions(new Ipu::ProjectOptions), runtimeOptions(new Ipu::RuntimeOptions(options))
{
}

CommandExecutor::CommandExecutor(const CommandExecutor& other)
    : projectOptions(new Ipu::ProjectOptions(*other.projectOptions))
    , runtimeOptions(new Ipu::RuntimeOptions(*other.runtimeOptions))
    , selected(other.selected ? other.selected->Clone() : other.selected)
{
}

CommandExecutor& CommandExecutor::operator=(const CommandExecutor& other)
{
    if (this != &other) {
        ReplaceProjectOptions(*other.projectOptions);
        ReplaceRuntimeOptions(*other.runtimeOptions);
        selected = other.selected ? other.selected->Clone() : other.selected;
    }
    return *this;
}

CommandExecutor::~CommandExecutor() = default;

unsigned CommandExecutor::Execute(const std::vector<Command>& commands, bool first, bool second)
{
    for (const Command& command : commands) {
        if (const unsigned status = ExecuteCmd(command, first, second)) {
            return status;
        }
    }
    return 0;
}

unsigned CommandExecutor::ExecuteCmd(const Command& command, bool first, bool /*second*/)
{
    if (first) {
        return ReadOnly(command);
    }
    switch (command.GetType()) {
        case Command::SET:
            return Set(command);
        case Command::SELECT:
            return Select(command);
        case Command::CSET:
            return Cset(command);
        case Command::GENERATE:
            return Generate(command);
        case Command::NEWPROJECT:
        case Command::SETPROJECT:
            return OpenDesign(command);
        case Command::END:
            return 0;
        default:
            return Refuse(command, QStringLiteral("unknown command"));
    }
}

unsigned CommandExecutor::ReadOnly(const Command& command)
{
    switch (command.GetType()) {
        case Command::GENERATE:
            return selected ? 0
                            : Refuse(command,
                                     QStringLiteral("GENERATE needs an IP chosen by SELECT first"));
        case Command::NEWPROJECT:
        case Command::SETPROJECT:
            return 0;
        default:
            return CommandExecutor::ExecuteCmd(command, false, false);
    }
}

void CommandExecutor::SetExternalProjectOptions(const Ipu::ProjectOptions& options)
{
    ReplaceProjectOptions(options);
}

Ipu::Parameters CommandExecutor::GetParameters() const
{
    return selected ? selected->GetParameters() : Ipu::Parameters();
}

void CommandExecutor::ReplaceProjectOptions(const Ipu::ProjectOptions& options)
{
    projectOptions.reset(new Ipu::ProjectOptions(options));
}

void CommandExecutor::ReplaceRuntimeOptions(const Ipu::RuntimeOptions& options)
{
    runtimeOptions.reset(new Ipu::RuntimeOptions(options));
}

unsigned CommandExecutor::Set(const Command& command)
{
    const auto& arguments = command.GetArguments();
    Port::String current;
    if (projectOptions->GetValue(arguments[0], current) != 0) {
        return Refuse(command, QStringLiteral("unknown project option '%1'").arg(Q(arguments[0])));
    }
    if (projectOptions->SetValue(arguments[0], arguments[1]) != 0) {
        return Refuse(command, QStringLiteral("project option %1 does not take '%2'")
                                   .arg(Q(arguments[0]), Q(arguments[1])));
    }
    return 0;
}

// The catalogue entry is copied: what the commands set never reaches the catalogue.
unsigned CommandExecutor::Select(const Command& command)
{
    const auto& arguments = command.GetArguments();
    const boost::shared_ptr<Ipu::IPComponent> entry = FindCatalogueIp(arguments);
    if (!entry) {
        return Refuse(command,
                      QStringLiteral("the catalogue has no IP \"%1\" %2 %3 %4")
                          .arg(Q(arguments[0]), Q(arguments[1]), Q(arguments[2]), Q(arguments[3])));
    }
    selected = entry->Clone();
    return 0;
}

unsigned CommandExecutor::Cset(const Command& command)
{
    if (!selected) {
        return Refuse(command, QStringLiteral("CSET needs an IP chosen by SELECT first"));
    }
    const Port::String& name = command.GetArguments()[0];
    const Port::String& value = command.GetArguments()[1];
    QString reason;
    if (name.Compare("component_name", Port::CompareIgnoreCase) == 0) {
        if (!ParameterCheck::CheckComponentName(value, reason)) {
            return Refuse(command, reason);
        }
        selected->SetName(value);
        return 0;
    }
    Ipu::Parameters::Parameter parameter;
    if (selected->GetParameters().Get(name, parameter) != 0) {
        return Refuse(command, QStringLiteral("%1 has no parameter '%2'")
                                   .arg(Q(selected->GetUnconfiguredDisplayName()), Q(name)));
    }
    if (!ParameterCheck::CheckValue(parameter, value, reason)) {
        return Refuse(command, reason);
    }
    selected->GetParameters().SetValue(name, value);
    return 0;
}

// Customizes and generates the selected IP with the current options, waits for the run's
// end and saves the project the IP went into.
unsigned CommandExecutor::Generate(const Command& command)
{
    if (!selected) {
        return Refuse(command, QStringLiteral("GENERATE needs an IP chosen by SELECT first"));
    }
    const auto engine = EngineInterface<SimC::IGenerationEngine>();
    if (!engine) {
        return Refuse(command, QStringLiteral("the engine component cannot be loaded"));
    }
    const Ipu::GeneratorChainList& chains = selected->GetGeneratorChains();
    const auto chain = chains.Get(Ipu::Task::GENERATE) ? chains.Get(Ipu::Task::GENERATE)
                                                       : chains.Get(Ipu::Task::CUSTOMIZE);
    if (!chain) {
        return Refuse(command, QStringLiteral("%1 cannot be generated")
                                   .arg(Q(selected->GetUnconfiguredDisplayName())));
    }
    Port_MsgManData::createObject("sim", "Sim_CommandExecutor", __LINE__)
        .issueStatus("Generating %s (%s %s)\n", selected->GetName().c_str(),
                     selected->GetUnconfiguredDisplayName().c_str(),
                     selected->GetIdentifier().GetVersion().c_str());
    Ipu::CustomizedIP configuration;
    selected->SetProjectOptions(*projectOptions);
    configuration.SetIP(Ipu::IP(selected));
    GenerationWait wait;
    const Port::String generationId = engine->StartGeneration(
        configuration.GetIPComponent()->GetUniqueID(), chain->GetUniqueID());
    if (generationId.IsEmpty()) {
        return Refuse(command, QStringLiteral("the engine did not start"));
    }
    const GenerationWait::End end = wait.For(generationId);
    if (end.status != 0) {
        return end.status;
    }
    const auto projects = EngineInterface<SimC::IProjectManager>();
    const Port::String designId = end.component ? DesignOf(*end.component) : Port::String();
    if (!designId.IsEmpty() && !projects->SaveDesign(designId)) {
        return Refuse(command, QStringLiteral("the project could not be saved"));
    }
    Port::String output;
    projectOptions->GetOutputDirectory(output);
    Port_MsgManData::createObject("sim", "Sim_CommandExecutor", __LINE__)
        .issueInfo("Generated %s in %s\n", selected->GetName().c_str(), output.c_str());
    return 0;
}

// Without a project manager above it, the engine's own designs serve.
unsigned CommandExecutor::OpenDesign(const Command& command)
{
    const auto projects = EngineInterface<SimC::IProjectManager>();
    if (!projects) {
        return Refuse(command, QStringLiteral("the engine component cannot be loaded"));
    }
    const Port::String file = Ipu::Utilities::GetAbsolutePath(command.GetArguments()[0]);
    const bool create = command.GetType() == Command::NEWPROJECT;
    const Port::String designId = create ? projects->CreateDesign(file, "pellor:project:design:1.0")
                                         : projects->OpenDesign(file);
    if (designId.IsEmpty() || (create && !projects->SaveDesign(designId))) {
        return Refuse(command, QStringLiteral("project %1 cannot be %2")
                                   .arg(Q(file), create ? QStringLiteral("created")
                                                        : QStringLiteral("opened")));
    }
    auto design =
        boost::dynamic_pointer_cast<Ipu::IPComposite>(Ipu::ElementIndex::GetElement(designId));
    Ipu::ProjectOptions options;
    if (design && design->GetProjectOptions(options) == 0) {
        ReplaceProjectOptions(options);
    }
    return 0;
}

}  // namespace Sim
