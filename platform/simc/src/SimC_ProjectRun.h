#pragma once

#include "Ipu_Generator.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Status.h"
#include "Ipu_Task.h"
#include "SimC_GenerationRun.h"
#include "SimC_WorkerPool.h"

#include <QStringList>

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace SimC {

// A project task run as one run per IP, all on the pool at once. Each IP's end is reported
// as a member event with its time; the last to end reports the end of the whole run,
// failed when any IP failed. No thread waits for another, so one worker suffices.
class ProjectRun : public std::enable_shared_from_this<ProjectRun> {
public:
    explicit ProjectRun(const Ipu::Task& task);

    // The steps that regenerate the IP (after an upgrade, for an upgrading task); false,
    // with a warning, when it offers no way to regenerate.
    bool MemberSteps(const Ipu::IPComponent& member,
                     std::vector<boost::shared_ptr<Ipu::Generator>>& steps) const;
    void Add(std::shared_ptr<GenerationRun> run);
    void SubmitTo(WorkerPool& pool);

private:
    void RunMember(GenerationRun& run);
    void ReportEnd() const;

    Ipu::Task task;
    std::vector<std::shared_ptr<GenerationRun>> runs;
    std::mutex guard;
    std::size_t remaining = 0;
    QStringList failed;
    bool cancelled = false;
};

}  // namespace SimC
