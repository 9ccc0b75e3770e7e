// Regenerating a project of 100 IPs of the embedded catalogue (real HDL, real files) with
// one worker beside one worker per core, in one run: once with every product unchanged
// (nothing is rewritten) and once with every product changed (the design entry flips
// between VHDL and Verilog before each run). Prints the speed-ups; the time per IP is the
// time divided by 100.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <boost/pointer_cast.hpp>
#include <cstdio>
#include <thread>
#include <vector>

#include "CitP_Factory.h"
#include "CitP_Ref.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Task.h"
#include "Port_MsgManData.h"
#include "RatioReporter.h"
#include "SimC_IDesignManager.h"
#include "SimC_IGenerationEngine.h"
#include "SimC_IProjectManager.h"
#include "SimC_Identifiers.h"
#include "Sim_CatalogLoader.h"
#include "Sim_DataLocation.h"
#include "Sim_FamilySupport.h"
#include "Sim_GenerationWait.h"

namespace {

constexpr int kIps = 100;

struct Project {
    QTemporaryDir dir;
    CitP::Ref<SimC::IGenerationEngine> engine;
    Port::String designId;
    Port::String chainId;
};

// Catalogue IPs that can be regenerated, each used in turn.
std::vector<Port::String> RegenerableKeys()
{
    std::vector<Port::String> keys;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto ip = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (ip && !ip->IsCustomized() &&
            ip->GetGeneratorChains().Get(Ipu::Task::REGENERATE_CURRENT))
            keys.push_back(ip->GetKey());
    }
    return keys;
}

Project& TheProject()
{
    static Project project = [] {
        Project made;
        Sim::FamilySupport::Refresh();
        Sim::CatalogLoader::Counts counts;
        Sim::CatalogLoader::Load(Sim::DataLocation::CatalogDirectories(), counts);
        CitP::Factory::LoadLibraryFactory(SimC::ENGINE_LIBRARY);
        const auto object = CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine);
        made.engine = object.Query<SimC::IGenerationEngine>();
        const auto projects = object.Query<SimC::IProjectManager>();
        const auto designs = object.Query<SimC::IDesignManager>();
        const std::string file = made.dir.filePath("bench.gtcfg").toStdString();
        made.designId = projects->CreateDesign(file.c_str(), "pellor:project:bench:1.0");
        const std::vector<Port::String> keys = RegenerableKeys();
        for (int i = 0; i < kIps && !keys.empty(); ++i) {
            Port::String name;
            name.Format("ip_%03d", i);
            designs->AddComponent(made.designId, keys[i % keys.size()], name, name, "");
        }
        auto design = boost::dynamic_pointer_cast<Ipu::IPComposite>(
            Ipu::ElementIndex::GetElement(made.designId));
        made.chainId =
            design->GetGeneratorChains().Get(Ipu::Task::REGENERATE_PROJECT)->GetUniqueID();
        return made;
    }();
    return project;
}

unsigned Regenerate(Project& project, Sim::GenerationWait& waiter)
{
    return waiter.For(project.engine->StartGeneration(project.designId, project.chainId)).status;
}

// Between runs only, so no run reads the options while they change.
void FlipDesignEntry(const Project& project)
{
    auto design = Ipu::ElementIndex::GetElement(project.designId);
    auto composite = boost::dynamic_pointer_cast<Ipu::IPComposite>(design);
    Ipu::ProjectOptions options;
    composite->GetProjectOptions(options);
    Port::String entry;
    options.GetInternalDesignEntry(entry);
    options.SetDesignEntry(entry == Ipu::ProjectOptions::DESIGNENTRY_VHDL
                               ? Ipu::ProjectOptions::DESIGNENTRY_VERILOG
                               : Ipu::ProjectOptions::DESIGNENTRY_VHDL);
    composite->SetProjectOptions(options);
}

void BM_Regenerate(benchmark::State& state)
{
    Project& project = TheProject();
    const bool changing = state.range(1) != 0;
    project.engine->SetWorkerCount(static_cast<unsigned>(state.range(0)));
    Sim::GenerationWait waiter;
    if (Regenerate(project, waiter) != 0)  // products in place before timing
        state.SkipWithError("regeneration failed");
    for (auto _ : state) {
        if (changing) {
            state.PauseTiming();
            FlipDesignEntry(project);
            state.ResumeTiming();
        }
        if (Regenerate(project, waiter) != 0)
            state.SkipWithError("regeneration failed");
    }
}

}  // namespace

const int kCores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

BENCHMARK(BM_Regenerate)
    ->ArgNames({"workers", "changed"})
    ->Args({1, 0})
    ->Args({kCores, 0})
    ->Args({1, 1})
    ->Args({kCores, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Port_MsgManData::setSink([](const Port_MsgManData::Message& message) {
        if (message.kind == Port_MsgManData::Error)
            Port_MsgManData::printToStderr(message);
    });
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* changed : {"0", "1"}) {
        const std::string all =
            "BM_Regenerate/workers:" + std::to_string(kCores) + "/changed:" + changed;
        const std::string one = std::string("BM_Regenerate/workers:1/changed:") + changed;
        reporter.PrintRatio(all.c_str(), one.c_str(), 1 / 1.8);
    }
    return 0;
}
