#include "SimC_GenerationEngine.h"

#include "Ipu_CustomizedIP.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_Event.h"
#include "Ipu_EventData.h"
#include "Port_FileName.h"
#include "Port_MsgManData.h"
#include "SimC_DesignRegistry.h"
#include "SimC_ProjectRun.h"
#include "Sim_Utility.h"

#include <QDir>

#include <boost/pointer_cast.hpp>

#include <atomic>
#include <memory>

namespace SimC {

namespace {

Port_MsgManData Message(int line)
{
    return Port_MsgManData::createObject("simc", "SimC_GenerationEngine", line);
}

Port::String FreshGenerationId()
{
    static std::atomic<unsigned long> counter{0};
    Port::String id;
    id.Format("generation-%lu", ++counter);
    return id;
}

// By unique id; a chain known only by its name is found by the id's last part.
boost::shared_ptr<Ipu::GeneratorChain> FindChain(const Ipu::GeneratorChainList& chains,
                                                 const Port::String& chainId)
{
    for (const auto& chain : chains) {
        if (chain->GetUniqueID() == chainId) {
            return chain;
        }
    }
    const std::string id = chainId.c_str();
    return chains.Get(Port::String(id.substr(id.rfind('/') + 1).c_str()));
}

// Relative output directories are the project's own: they resolve against the project
// file's directory, never against the working directory.
QString OutputDirectory(const Ipu::ProjectOptions& options, const Port::String& projectFile)
{
    Port::String output;
    options.GetOutputDirectory(output);
    const QString directory = Sim::Utility::PortStringToQString(output);
    if (QDir::isAbsolutePath(directory)) {
        return QDir::cleanPath(directory);
    }
    if (projectFile.IsEmpty()) {
        return QString();
    }
    const QString head = Sim::Utility::PortStringToQString(Port::FileName(projectFile).GetHead());
    return QDir::cleanPath(QDir(head).filePath(directory));
}

bool SameIp(const Ipu::IPBase& a, const Ipu::IPBase& b)
{
    return a.GetIdentifier().GetVendor() == b.GetIdentifier().GetVendor() &&
           a.GetIdentifier().GetLibrary() == b.GetIdentifier().GetLibrary() &&
           a.GetIdentifier().GetName() == b.GetIdentifier().GetName();
}

}  // namespace

Port::String GenerationEngine::Start(const Port::String& elementId, const Port::String& chainId)
{
    const boost::shared_ptr<Ipu::Element> element = Ipu::ElementIndex::GetElement(elementId);
    if (const auto ip = boost::dynamic_pointer_cast<Ipu::IPComponent>(element)) {
        return StartIp(ip, FindChain(ip->GetGeneratorChains(), chainId));
    }
    if (const auto design = boost::dynamic_pointer_cast<Ipu::IPComposite>(element)) {
        return StartDesign(design, FindChain(design->GetGeneratorChains(), chainId));
    }
    Message(__LINE__).issueError("Cannot generate %s: no such IP or project\n", elementId.c_str());
    return Port::String();
}

Port::String GenerationEngine::StartIp(const boost::shared_ptr<Ipu::IPComponent>& ip,
                                       const boost::shared_ptr<Ipu::GeneratorChain>& chain)
{
    if (!chain) {
        Message(__LINE__).issueError("%s offers no such task\n", ip->GetName().c_str());
        return Port::String();
    }
    Ipu::Task task(chain);
    task.SetGenerationID(FreshGenerationId());
    GenerationRun::Setup setup;
    if (!Prepare(ip, task, setup)) {
        return Port::String();
    }
    auto run = std::make_shared<GenerationRun>(std::move(setup));
    pool.Submit([run, task, ip] {
        const Ipu::Status status = run->Execute();
        run->TellEnd(status);
        Ipu::Event end(Ipu::Event::TYPE_END_OF_RUN, status,
                       Ipu::EventData(task, Ipu::CustomizedIP(
                                                status.IsSuccess() ? run->Result()->Clone() : ip)));
        Ipu::EngineNotifyMgr::NotifyEvent(end);
    });
    return task.GetGenerationID();
}

Port::String GenerationEngine::StartDesign(const boost::shared_ptr<Ipu::IPComposite>& design,
                                           const boost::shared_ptr<Ipu::GeneratorChain>& chain)
{
    if (!chain) {
        Message(__LINE__).issueError("The project %s offers no such task\n",
                                     design->GetName().c_str());
        return Port::String();
    }
    Ipu::Task task(chain);
    task.SetGenerationID(FreshGenerationId());
    std::vector<boost::shared_ptr<Ipu::IPComponent>> members;
    DesignRegistry::WithDesign(design->GetUniqueID(), [&](Ipu::IPComposite& open) {
        for (const auto& element : open.GetElements()) {
            if (auto member = boost::dynamic_pointer_cast<Ipu::IPComponent>(element)) {
                members.push_back(member);
            }
        }
    });
    auto project = std::make_shared<ProjectRun>(task);
    for (const auto& member : members) {
        GenerationRun::Setup setup;
        if (!project->MemberSteps(*member, setup.steps) || !Prepare(member, task, setup)) {
            continue;
        }
        project->Add(std::make_shared<GenerationRun>(std::move(setup)));
    }
    project->SubmitTo(pool);
    return task.GetGenerationID();
}

// An IP runs in its design's output directory.
bool GenerationEngine::Prepare(const boost::shared_ptr<Ipu::IPComponent>& ip, const Ipu::Task& task,
                               GenerationRun::Setup& setup) const
{
    setup.original = ip;
    setup.component = ip->Clone();
    setup.task = task;
    setup.designId = DesignRegistry::FindDesignOf(*ip);
    Ipu::ProjectOptions designOptions;
    bool hasDesignOptions = false;
    bool isMember = false;
    DesignRegistry::WithDesign(setup.designId, [&](Ipu::IPComposite& design) {
        hasDesignOptions = design.GetProjectOptions(designOptions) == 0;
        setup.projectFile = design.GetProjectFileName().GetAbsolutePath();
        for (const auto& member : design.GetElements()) {
            isMember = isMember || member == ip;
            if (member != ip && !SameIp(*member, *ip)) {
                setup.takenNames.push_back(member->GetName());
            }
        }
    });
    // A new configuration carries the options it is to be made with; a member asked for the
    // current options takes the design's.
    const bool ownOptions = ip->GetProjectOptions(setup.options) == 0;
    if (hasDesignOptions && ((isMember && task.UsesCurrentProjectOptions()) || !ownOptions)) {
        setup.options = designOptions;
    }
    if (setup.steps.empty() && task.GetGeneratorChain()) {
        setup.steps = task.GetGeneratorChain()->GetOrderedGenerators();
    }
    setup.outputDirectory = OutputDirectory(setup.options, setup.projectFile);
    if (setup.outputDirectory.isEmpty()) {
        Message(__LINE__).issueError("Cannot generate %s: it has no output directory\n",
                                     ip->GetName().c_str());
        return false;
    }
    return true;
}

}  // namespace SimC
