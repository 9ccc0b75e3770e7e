// IsCompatible over 1,000 IPs against an admitted list of 5,000: cold (first question of
// each IP after a load walks the list) beside warm (answered from the verdict cache).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <boost/make_shared.hpp>
#include <vector>

#include "BenchComponent.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_IpCompatibilityChecker.h"
#include "En_ProjectManager.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_Family.h"
#include "Ipu_IPComponent.h"
#include "Ipu_VersionedIdentifier.h"
#include "Sim_DataLocation.h"

namespace {

constexpr int kAdmitted = 5000;
constexpr int kAsked = 1000;

const char kDevices[] = R"({"formatVersion": 1,
    "defaultPart": {"family": "alpha", "device": "a10", "package": "p1", "speedgrade": "-1"},
    "families": [{"name": "alpha", "visibleName": "Alpha", "devices": [{"name": "a10",
        "packages": [{"name": "p1", "speedGrades": ["-1", "-2"]}]}]}]})";

boost::shared_ptr<Ipu::IPComponent> catalogueIp(int index)
{
    auto component = benchComponent(index);
    component->AddFamily(Ipu::Family("alpha"));
    return component;
}

struct Fixture {
    QTemporaryDir dir;
    std::vector<boost::shared_ptr<Ipu::IPComponent>> asked;
    bool fastGrade = false;

    Fixture()
    {
        qputenv("HOME", dir.path().toUtf8());
        QFile devices(dir.filePath("devices.json"));
        devices.open(QIODevice::WriteOnly);
        devices.write(kDevices);
        devices.close();
        QDir().mkpath(dir.filePath("catalog"));
        Sim::DataLocation::SetDeviceDatabaseFile(dir.filePath("devices.json").toStdString());
        Sim::DataLocation::SetCatalogDirectories({dir.filePath("catalog").toStdString()});
        Sim::DataLocation::SetDefaultCatalogUsed(false);
        En::Global::_batchCommandRuntimeOptions.EnableBatchMode(true);
        En::EndWatchThread::Start();
        En::ProjectManager* manager = En::ProjectManager::GetInstance();
        manager->RefreshAllRepositories();
        for (int i = 0; i < kAdmitted; ++i) {
            auto component = catalogueIp(i);
            Ipu::ElementIndex::AddElement(component);
            if (i % (kAdmitted / kAsked) == 0)
                asked.push_back(component);
        }
        manager->NewProject(dir.filePath("bench.gtcfg").toStdString());
    }

    // Changed options make the checker load its list again and forget its verdicts.
    void reload()
    {
        Ipu::ProjectOptions options = *En::ProjectManager::GetInstance()->GetProjectOptions();
        fastGrade = !fastGrade;
        options.SetSpeedGrade(fastGrade ? "-2" : "-1");
        En::ProjectManager::GetInstance()->SetProjectOptions(options);
        En::IpCompatibilityChecker::GetInstance()->Refresh();
    }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void askAll(benchmark::State& state)
{
    int compatible = 0;
    for (const auto& component : fixture().asked)
        compatible += En::IpCompatibilityChecker::GetInstance()->IsCompatible(component);
    if (compatible != kAsked)
        state.SkipWithError("an admitted IP was judged incompatible");
}

void BM_IsCompatibleCold(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        fixture().reload();
        state.ResumeTiming();
        askAll(state);
    }
    state.SetItemsProcessed(state.iterations() * kAsked);
}
BENCHMARK(BM_IsCompatibleCold)->Unit(benchmark::kMillisecond);

void BM_IsCompatibleWarm(benchmark::State& state)
{
    fixture().reload();
    askAll(state);
    for (auto _ : state)
        askAll(state);
    state.SetItemsProcessed(state.iterations() * kAsked);
}
BENCHMARK(BM_IsCompatibleWarm)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
