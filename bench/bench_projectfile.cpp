// Opening and saving a project of 1,000 components against the floor an XML file format
// cannot go below: a bare QXmlStreamReader pass over the same file, and a bare
// QXmlStreamWriter writing the same content. Every member comes from the catalogue, has
// eight parameters and remembers its own project options, as a customized IP does.
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_ProjectOptions.h"
#include "Port_MsgManData.h"
#include "RatioReporter.h"
#include "SimC_DesignEditor.h"
#include "SimC_ProjectStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <benchmark/benchmark.h>
#include <boost/pointer_cast.hpp>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kComponents = 1000;
constexpr int kCatalogue = 10;
constexpr int kParameters = 8;

struct Setup {
    QString file;
    QString bareFile;
    Port::String designId;
    // The saved file as tokens, for the bare writer to write again.
    std::vector<QXmlStreamReader::TokenType> tokens;
    std::vector<QString> names;
    std::vector<QXmlStreamAttributes> attributes;
    std::vector<QString> texts;
};

Setup& Bench()
{
    static Setup setup;
    return setup;
}

Port::String Key(int i)
{
    return Port::String("pellor:bench:ip") + std::to_string(i % kCatalogue) + ":1.0";
}

void AddCatalogue()
{
    for (int i = 0; i < kCatalogue; ++i) {
        boost::shared_ptr<Ipu::IPComponent> entry(new Ipu::IPComponent);
        Ipu::VersionedIdentifier identifier;
        Ipu::VersionedIdentifier::FromKey(Key(i), identifier);
        entry->SetIdentifier(identifier);
        entry->SetName(identifier.GetName());
        entry->SetUniqueID(Key(i));
        entry->SetUnconfiguredID(Key(i));
        for (int p = 0; p < kParameters; ++p) {
            entry->GetParameters().Add(
                {"parameter_" + std::to_string(p), "0", "int", {}, "0", "65535"});
        }
        Ipu::ElementIndex::AddElement(entry);
    }
}

bool BuildProject(const QString& file)
{
    const Port::String id =
        SimC::ProjectStore::CreateDesign(file.toStdString(), "pellor:Gantrel:bench:1.0");
    auto design = boost::dynamic_pointer_cast<Ipu::IPComposite>(Ipu::ElementIndex::GetElement(id));
    Ipu::ProjectOptions options;
    if (!design || design->GetProjectOptions(options) != 0) {
        return false;
    }
    for (int i = 0; i < kComponents; ++i) {
        const Port::String memberId = SimC::DesignEditor::AddComponent(
            id, Key(i), "ip_" + std::to_string(i), "IP number " + std::to_string(i),
            "A customized IP of the benchmark project");
        auto member =
            boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(memberId));
        if (!member) {
            return false;
        }
        for (int p = 0; p < kParameters; ++p) {
            member->GetParameters().SetValue("parameter_" + std::to_string(p),
                                             std::to_string(i + p));
        }
        member->SetChangeTime(1700000000 + i);
        member->SetProjectOptions(options);
    }
    Bench().designId = id;
    return SimC::ProjectStore::SaveDesign(id);
}

void Tokenize(const QString& file)
{
    QFile input(file);
    input.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(input.readAll());
    Setup& setup = Bench();
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement || token == QXmlStreamReader::EndElement ||
            (token == QXmlStreamReader::Characters && !xml.isWhitespace())) {
            setup.tokens.push_back(token);
            setup.names.push_back(xml.name().toString());
            setup.attributes.push_back(xml.attributes());
            setup.texts.push_back(xml.text().toString());
        }
    }
}

void BM_Open(benchmark::State& state)
{
    const Port::String file = Bench().file.toStdString();
    for (auto _ : state) {
        const Port::String id = SimC::ProjectStore::OpenDesign(file);
        state.PauseTiming();
        if (id.IsEmpty()) {
            state.SkipWithError("the project did not open");
        }
        SimC::ProjectStore::CloseDesign(id);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kComponents);
}

// Tokenizes the same file and touches every attribute and text, as any reader must.
void BM_BareRead(benchmark::State& state)
{
    for (auto _ : state) {
        QFile input(Bench().file);
        if (!input.open(QIODevice::ReadOnly)) {
            state.SkipWithError("unreadable file");
            return;
        }
        QXmlStreamReader xml(input.readAll());
        qsizetype characters = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                    characters += attribute.value().size();
                }
            } else if (xml.isCharacters()) {
                characters += xml.text().size();
            }
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * kComponents);
}

void BM_Save(benchmark::State& state)
{
    for (auto _ : state) {
        if (!SimC::ProjectStore::SaveDesign(Bench().designId)) {
            state.SkipWithError("the project was not saved");
        }
    }
    state.SetItemsProcessed(state.iterations() * kComponents);
}

// Writes the same elements, attributes and texts to a plain file.
void BM_BareWrite(benchmark::State& state)
{
    const Setup& setup = Bench();
    for (auto _ : state) {
        QFile output(setup.bareFile);
        if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            state.SkipWithError("cannot write");
            return;
        }
        QXmlStreamWriter xml(&output);
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(2);
        xml.writeStartDocument();
        for (std::size_t i = 0; i < setup.tokens.size(); ++i) {
            if (setup.tokens[i] == QXmlStreamReader::StartElement) {
                xml.writeStartElement(setup.names[i]);
                xml.writeAttributes(setup.attributes[i]);
            } else if (setup.tokens[i] == QXmlStreamReader::EndElement) {
                xml.writeEndElement();
            } else {
                xml.writeCharacters(setup.texts[i]);
            }
        }
        xml.writeEndDocument();
    }
    state.SetItemsProcessed(state.iterations() * kComponents);
}

BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareWrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Port_MsgManData::setSink([](const Port_MsgManData::Message&) {});
    QTemporaryDir directory;
    Bench().file = directory.filePath("bench.gtcfg");
    Bench().bareFile = directory.filePath("bare.xml");
    AddCatalogue();
    if (!BuildProject(Bench().file)) {
        std::fprintf(stderr, "could not build the project\n");
        return 1;
    }
    Tokenize(Bench().file);
    std::printf("project file: %lld bytes, %d components\n",
                static_cast<long long>(QFile(Bench().file).size()), kComponents);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_Open", "BM_BareRead", 2.0);
    reporter.PrintRatio("BM_Save", "BM_BareWrite", 2.0);
    return 0;
}
