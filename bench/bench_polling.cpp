// What polling adds to a request: the time from appending COMPLETE to a whole finish file,
// for a command file that generates a small IP (an 8-bit counter of the embedded
// catalogue) through a running gantrel -poll, against the same commands run by the
// executor in this process without polling (the engine's own time). Median of 20 runs
// each. A client's request comes at any moment of the half-second polling period, so each
// run waits a random time within it before appending COMPLETE (arrival:random); arrival:next
// appends right after the previous answer, the slowest case. A file that only sets an
// option shows the polling path alone.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "En_CommandExecutor.h"
#include "En_Global.h"
#include "En_ProjectManager.h"
#include "PollingClient.h"
#include "PollingServer.h"
#include "Port_MsgManData.h"
#include "Sim_CommandBuilder.h"

namespace {

QByteArray CounterCommands(int run)
{
    return "SELECT \"Binary Counter\" pellor ip 1.1\nCSET component_name = c" +
           QByteArray::number(run) + "\nCSET WIDTH = 8\nGENERATE\n";
}

struct Server {
    QTemporaryDir dir;
    std::unique_ptr<PollingServer> polling;
    int runs = 0;
};

// One server for the whole program, with its project made by the first command file.
Server& TheServer()
{
    static Server server = [] {
        Server made;
        made.polling =
            std::make_unique<PollingServer>(QStringLiteral(GANTREL_EXECUTABLE), made.dir.path());
        if (!made.polling->start())
            std::fprintf(stderr, "gantrel -poll did not start\n");
        PollingClient::drop(made.dir.path(),
                            "NEWPROJECT " + made.dir.path().toUtf8() + "/project\nCOMPLETE\n");
        PollingClient::takeAnswer(made.dir.path(), 30000);
        return made;
    }();
    return server;
}

// kind 0: sets an option; 1: generates. arrival 0: right after the previous answer;
// 1: at a random moment of the polling period.
void BM_PollingAnswer(benchmark::State& state)
{
    Server& server = TheServer();
    const QString dir = server.dir.path();
    for (auto _ : state) {
        const QByteArray commands =
            state.range(0) ? CounterCommands(server.runs++) : "SET designentry = VHDL\n";
        PollingClient::drop(dir, commands);
        if (state.range(1))
            QThread::msleep(QRandomGenerator::global()->bounded(500u));
        QElapsedTimer timer;
        timer.start();
        PollingClient::complete(dir);
        while (!PollingClient::answered(dir))
            QThread::usleep(200);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (PollingClient::takeAnswer(dir, 30000).endsWith("ERROR\n"))
            state.SkipWithError("the command file failed");
    }
}

// The same generation run by the executor without polling, in this process.
void BM_EngineGeneration(benchmark::State& state)
{
    static QTemporaryDir dir;
    En::Global::_batchCommandRuntimeOptions.EnableBatchMode(true);
    En::ProjectManager* manager = En::ProjectManager::GetInstance();
    if (!manager->ProjectOpen()) {
        manager->RefreshAllRepositories();
        manager->NewProject((dir.path() + "/project").toStdString());
    }
    int run = 0;
    for (auto _ : state) {
        Sim::CommandBuilder builder(En::Global::_batchCommandRuntimeOptions);
        builder.AddCommandText(CounterCommands(run++), "bench");
        En::CommandExecutor executor(En::Global::_batchCommandRuntimeOptions);
        executor.SetExternalProjectOptions(*manager->GetProjectOptions());
        QElapsedTimer timer;
        timer.start();
        const unsigned status = executor.Execute(builder.GetCommands(), false, true);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (status != 0)
            state.SkipWithError("the generation failed");
    }
}

// Prints as usual and keeps each benchmark's median, in milliseconds.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedRealTime();
        }
    }
    double Median(const std::string& name) const
    {
        const auto found = medians.find(name);
        return found == medians.end() ? 0 : found->second;
    }

private:
    std::map<std::string, double> medians;
};

}  // namespace

BENCHMARK(BM_PollingAnswer)
    ->ArgNames({"generates", "arrival"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineGeneration)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Port_MsgManData::setSink([](const Port_MsgManData::Message& message) {
        if (message.kind == Port_MsgManData::Error)
            Port_MsgManData::printToStderr(message);
    });
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double engine = reporter.Median("BM_EngineGeneration/");
    for (const char* arrival : {"1", "0"}) {
        const double answer =
            reporter.Median(std::string("BM_PollingAnswer/generates:1/arrival:") + arrival);
        if (answer > 0 && engine > 0)
            std::printf(
                "polling adds %.0f ms to a generation (arrival:%s; answer %.0f ms, engine "
                "%.0f ms; target <= 600 ms)\n",
                answer - engine, arrival[0] == '1' ? "random" : "next", answer, engine);
    }
    return 0;
}
