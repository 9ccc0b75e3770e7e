// GetActionList for 10,000 catalogue IPs with eight tasks each: the first request of each
// IP (cold: every action is made) beside repeated requests (warm: actions are only
// re-enabled). "bench_actions --memory" prints the memory per cached action instead.
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <boost/make_shared.hpp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchComponent.h"
#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_Ip.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_Generator.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Task.h"
#include "Ipu_VendorExtensions.h"
#include "Ipu_VersionedIdentifier.h"
#include "RatioReporter.h"

namespace {

constexpr int kIps = 10000;
constexpr const char* kTasks[] = {Ipu::Task::CUSTOMIZE,          Ipu::Task::GENERATE,
                                  Ipu::Task::VIEW_DATASHEET,     Ipu::Task::VIEW_README_FILE,
                                  Ipu::Task::VIEW_VERSION_INFO,  Ipu::Task::VIEW_PRODUCT_WEBPAGE,
                                  Ipu::Task::SUPPORTED_FAMILIES, Ipu::Task::VIEW_SOLUTION_RECORDS};
constexpr int kTaskCount = sizeof(kTasks) / sizeof(kTasks[0]);

boost::shared_ptr<Ipu::IPComponent> catalogueIp(int index)
{
    auto component = benchComponent(index);
    const Port::String key = component->GetKey();
    for (const char* task : kTasks) {
        auto chain = boost::make_shared<Ipu::GeneratorChain>();
        chain->SetName(task);
        chain->SetDisplayName(std::string("Run ") + task);
        chain->SetUniqueID(key + ":" + task);
        chain->SetProperty(Ipu::VendorExtensions::CHAIN_IPTYPE, Ipu::Task::ANY_IP);
        chain->SetProperty(Ipu::VendorExtensions::CHAIN_FAMILYDEPENDENT,
                           Ipu::Task::FAMILY_NOT_DEPENDENT);
        chain->AddGenerator(boost::make_shared<Ipu::Generator>(task, 1.0, "step"));
        component->GetGeneratorChains().Add(chain);
    }
    Ipu::ElementIndex::AddElement(component);
    return component;
}

std::vector<En::Ip>& ips()
{
    static std::vector<En::Ip> list = [] {
        std::vector<En::Ip> made;
        for (int i = 0; i < kIps; ++i)
            made.emplace_back(catalogueIp(i));
        return made;
    }();
    return list;
}

std::size_t requestAll(benchmark::State& state)
{
    std::size_t actions = 0;
    for (En::Ip& ip : ips())
        actions += En::ActionManager::GetInstance()->GetActionList(ip).size();
    if (actions != std::size_t(kIps) * kTaskCount)
        state.SkipWithError("an IP did not offer all its tasks");
    return actions;
}

void BM_GetActionListCold(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        delete En::ActionManager::GetInstance();
        En::ActionManager::GetInstance();
        state.ResumeTiming();
        requestAll(state);
    }
    state.SetItemsProcessed(state.iterations() * kIps);
}
BENCHMARK(BM_GetActionListCold)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GetActionListWarm(benchmark::State& state)
{
    requestAll(state);
    for (auto _ : state)
        requestAll(state);
    state.SetItemsProcessed(state.iterations() * kIps);
}
BENCHMARK(BM_GetActionListWarm)->Unit(benchmark::kMillisecond);

// Heap in use after caching every action, less the heap before, per action.
void printMemoryPerAction()
{
    ips();
    delete En::ActionManager::GetInstance();
    const std::size_t before = mallinfo2().uordblks;
    std::size_t actions = 0;
    for (En::Ip& ip : ips())
        actions += En::ActionManager::GetInstance()->GetActionList(ip).size();
    const std::size_t after = mallinfo2().uordblks;
    std::printf("cached actions: %zu, heap per action: %.0f bytes\n", actions,
                double(after - before) / double(actions));
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    En::Global::_batchCommandRuntimeOptions.EnableBatchMode(true);
    En::EndWatchThread::Start();
    if (argc > 1 && std::strcmp(argv[1], "--memory") == 0) {
        printMemoryPerAction();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_GetActionListWarm", "BM_GetActionListCold", 1.0 / 20);
    benchmark::Shutdown();
    return 0;
}
