#include "Regeneration.h"

#include <QElapsedTimer>

#include <cstdio>

#include "CitP_Factory.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_Event.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComposite.h"
#include "Ipu_Task.h"
#include "Port_MsgManData.h"
#include "SimC_IGenerationEngine.h"
#include "SimC_Identifiers.h"

Regeneration::Regeneration()
{
    Ipu::EngineNotifyMgr::AddEngineNotify(this);
}

Regeneration::~Regeneration()
{
    Ipu::EngineNotifyMgr::RemoveEngineNotify(this);
}

int Regeneration::Run(En::Project& project, unsigned jobs)
{
    const boost::shared_ptr<Ipu::IPComposite> design = project.GetIPComposite();
    const auto chain = design ? design->GetGeneratorChains().Get(Ipu::Task::REGENERATE_PROJECT)
                              : boost::shared_ptr<Ipu::GeneratorChain>();
    const auto engine =
        CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine).Query<SimC::IGenerationEngine>();
    if (!chain || !engine) {
        Port_MsgManData::createObject("gantrel", "gantrel", __LINE__)
            .issueError("Project %s cannot be regenerated\n", project.GetFullFileName().c_str());
        return 1;
    }
    if (jobs != 0)
        engine->SetWorkerCount(jobs);
    QElapsedTimer timer;
    timer.start();
    std::unique_lock<std::mutex> lock(guard);
    totalIps = design->CountElements();
    // Held across the start, so that no event is judged before the id is known.
    generationId = engine->StartGeneration(design->GetUniqueID(), chain->GetUniqueID());
    if (generationId.IsEmpty())
        return 1;
    ended.wait(lock, [this] { return done; });
    const auto message = Port_MsgManData::createObject("gantrel", "gantrel", __LINE__);
    if (status != 0) {
        message.issueError("%s\n", statusMessage.c_str());
        return 1;
    }
    lock.unlock();
    if (En::ProjectManager::GetInstance()->SaveProject() != 0)
        return 1;
    message.issueInfo("Regenerated %zu IPs of %s in %.2f s\n", totalIps,
                      project.GetFullFileName().c_str(), timer.elapsed() / 1000.0);
    return 0;
}

// Called on the engine's workers; the main thread only waits.
bool Regeneration::EventNotify(Ipu::Event& event)
{
    std::lock_guard<std::mutex> lock(guard);
    if (event.GetTask().GetGenerationID() != generationId)
        return false;
    if (event.GetType() == Ipu::Event::TYPE_MEMBER_END) {
        ++finishedIps;
        const auto ip = event.GetComponent();
        std::fprintf(stderr, "[%u/%zu] %s\n", finishedIps, totalIps,
                     event.GetStatus().IsSuccess()
                         ? event.GetStatus().GetMessage().c_str()
                         : (ip ? ip->GetName() + ": failed" : Port::String("failed")).c_str());
    } else if (event.GetType() == Ipu::Event::TYPE_END_OF_RUN) {
        status = event.GetStatus().GetCode();
        statusMessage = event.GetStatus().GetMessage();
        done = true;
        ended.notify_all();
    }
    return true;
}
