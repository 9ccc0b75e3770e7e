// Catalogue loading against the floor a parser cannot go below: reading and tokenizing the
// same files with a bare QXmlStreamReader. Also, with --peak-memory N, the peak resident
// size of a process that loads N components (measured in a child process of its own, so
// that generating the files does not count).
#include "BenchCatalog.h"
#include "Ipu_ElementIndex.h"
#include "Port_MsgManData.h"
#include "RatioReporter.h"
#include "Sim_CatalogLoader.h"
#include "Sim_DataLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBenchComponents = 2000;

QString& BenchDirectory()
{
    static QString directory;
    return directory;
}

unsigned LoadAll(const QString& directory)
{
    Sim::CatalogLoader::Counts counts;
    Sim::CatalogLoader::Load({directory.toStdString()}, counts);
    return counts.loaded;
}

void BM_FullLoad(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Ipu::ElementIndex::Clear();
        state.ResumeTiming();
        if (LoadAll(BenchDirectory()) != kBenchComponents) {
            state.SkipWithError("not every component loaded");
        }
    }
    Ipu::ElementIndex::Clear();
    state.SetItemsProcessed(state.iterations() * kBenchComponents);
}

// The same walk and the same reads, but the XML is only tokenized.
void BM_BareTokenize(benchmark::State& state)
{
    for (auto _ : state) {
        long tokens = 0;
        QDirIterator it(BenchDirectory(), {"*.xml"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly)) {
                state.SkipWithError("unreadable file");
                return;
            }
            QXmlStreamReader xml(file.readAll());
            while (!xml.atEnd()) {
                xml.readNext();
                ++tokens;
            }
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetItemsProcessed(state.iterations() * kBenchComponents);
}

BENCHMARK(BM_FullLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareTokenize)->Unit(benchmark::kMillisecond)->MinTime(2.0);

long PeakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Child: load one directory and report the peak.
int LoadOnly(const char* directory)
{
    const unsigned loaded = LoadAll(QString::fromLocal8Bit(directory));
    std::printf("%u %ld\n", loaded, PeakKiB());
    return 0;
}

bool RunChild(const QString& directory, unsigned& loaded, long& peak)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--load-only", directory});
    if (!child.waitForFinished(-1) || child.exitCode() != 0) {
        return false;
    }
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2) {
        return false;
    }
    loaded = fields[0].toUInt();
    peak = fields[1].toLong();
    return true;
}

int PeakMemory(int count)
{
    QTemporaryDir empty;
    QTemporaryDir full;
    if (!generateBenchCatalogue(full.path(), count)) {
        std::fprintf(stderr, "could not generate %d components\n", count);
        return 1;
    }
    unsigned none = 0;
    unsigned loaded = 0;
    long baseline = 0;
    long peak = 0;
    if (!RunChild(empty.path(), none, baseline) || !RunChild(full.path(), loaded, peak)) {
        std::fprintf(stderr, "the measuring child failed\n");
        return 1;
    }
    std::printf(
        "peak RSS loading %u components: %ld KiB (empty catalogue: %ld KiB; "
        "%.1f KiB per component)\n",
        loaded, peak, baseline, double(peak - baseline) / (loaded ? loaded : 1));
    return loaded == unsigned(count) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Generated files are all valid; anything else would be noise in the figures.
    Port_MsgManData::setSink([](const Port_MsgManData::Message&) {});
    if (argc == 3 && std::strcmp(argv[1], "--load-only") == 0) {
        return LoadOnly(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--peak-memory") == 0) {
        return PeakMemory(std::atoi(argv[2]));
    }
    QTemporaryDir directory;
    if (!generateBenchCatalogue(directory.path(), kBenchComponents)) {
        std::fprintf(stderr, "could not generate the catalogue\n");
        return 1;
    }
    BenchDirectory() = directory.path();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_FullLoad", "BM_BareTokenize", 2.0);
    return 0;
}
