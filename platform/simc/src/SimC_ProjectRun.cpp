#include "SimC_ProjectRun.h"

#include "Ipu_CustomizedIP.h"
#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_Event.h"
#include "Ipu_EventData.h"
#include "Port_MsgManData.h"
#include "Sim_CatalogFormat.h"
#include "Sim_Utility.h"

#include <QElapsedTimer>

namespace SimC {

namespace {

Port_MsgManData Message(int line)
{
    return Port_MsgManData::createObject("simc", "SimC_ProjectRun", line);
}

}  // namespace

ProjectRun::ProjectRun(const Ipu::Task& task) : task(task) {}

bool ProjectRun::MemberSteps(const Ipu::IPComponent& member,
                             std::vector<boost::shared_ptr<Ipu::Generator>>& steps) const
{
    auto chain = member.GetGeneratorChains().Get(Ipu::Task::REGENERATE_CURRENT);
    if (!chain) {
        chain = member.GetGeneratorChains().Get(Ipu::Task::GENERATE);
    }
    if (!chain) {
        Message(__LINE__).issueWarning("Skipping %s: it offers no way to regenerate it\n",
                                       member.GetName().c_str());
        return false;
    }
    steps.clear();
    if (task.GetInternalName().Compare(Ipu::Task::UPGRADE_AND_REGENERATE_PROJECT,
                                       Port::CompareIgnoreCase) == 0) {
        const char* upgrade = Sim::CatalogFormat::GENERATOR_UPGRADE_LATEST;
        steps.push_back(boost::shared_ptr<Ipu::Generator>(new Ipu::Generator(upgrade, 0, upgrade)));
    }
    for (const auto& step : chain->GetOrderedGenerators()) {
        steps.push_back(step);
    }
    return true;
}

void ProjectRun::Add(std::shared_ptr<GenerationRun> run)
{
    runs.push_back(std::move(run));
}

// Even a project without IPs ends on a worker, after the caller has its generation id.
void ProjectRun::SubmitTo(WorkerPool& pool)
{
    remaining = runs.size();
    auto self = shared_from_this();
    if (runs.empty()) {
        pool.Submit([self] { self->ReportEnd(); });
        return;
    }
    for (const auto& run : runs) {
        pool.Submit([self, run] { self->RunMember(*run); });
    }
}

void ProjectRun::RunMember(GenerationRun& run)
{
    QElapsedTimer timer;
    timer.start();
    Ipu::Status status = run.Execute();
    Port::String message = status.GetMessage();
    if (status.IsSuccess()) {
        message.Format("%s: done in %.2f s", run.Name().c_str(), timer.elapsed() / 1000.0);
    }
    run.TellEnd(status);
    Ipu::Event ended(Ipu::Event::TYPE_MEMBER_END, Ipu::Status(status.GetCode(), message),
                     Ipu::EventData(task, Ipu::CustomizedIP(run.Result()->Clone())));
    Ipu::EngineNotifyMgr::NotifyEvent(ended);
    {
        std::lock_guard<std::mutex> lock(guard);
        if (status.GetCode() == GenerationRun::CANCELLED) {
            cancelled = true;
        } else if (!status.IsSuccess()) {
            failed.append(Sim::Utility::PortStringToQString(run.Name()));
        }
        if (--remaining != 0) {
            return;
        }
    }
    ReportEnd();
}

void ProjectRun::ReportEnd() const
{
    Ipu::Status status(0, "Generation complete");
    if (!failed.isEmpty()) {
        Port::String message;
        message.Format("%d of %zu IPs failed: %s", static_cast<int>(failed.size()), runs.size(),
                       Sim::Utility::QStringToPortString(failed.join(QLatin1String(", "))).c_str());
        status = Ipu::Status(GenerationRun::FAILED, message);
    } else if (cancelled) {
        status = Ipu::Status(GenerationRun::CANCELLED, "Generation cancelled");
    }
    Ipu::Event end(Ipu::Event::TYPE_END_OF_RUN, status, Ipu::EventData(task, Ipu::CustomizedIP()));
    Ipu::EngineNotifyMgr::NotifyEvent(end);
}

}  // namespace SimC
