#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Port_MsgManData.h"
#include "SimC_ProjectFileReader.h"
#include "SimC_ProjectFileWriter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

const char* const kFile = "/fuzz/project.gtcfg";

// A broken promise of the reader or the writer is a finding, not just a wrong answer.
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// One catalogue entry, so that members are rebuilt from the catalogue as well as kept bare.
void AddCatalogueEntry()
{
    boost::shared_ptr<Ipu::IPComponent> entry(new Ipu::IPComponent);
    entry->SetIdentifier(Ipu::VersionedIdentifier("pellor", "test", "adder", "2.0"));
    entry->SetName("adder");
    entry->SetUniqueID(entry->GetIdentifier().GetKey());
    entry->SetUnconfiguredID(entry->GetIdentifier().GetKey());
    entry->GetParameters().Add({"width", "8", "int", {}, "1", "64"});
    entry->GetParameters().Add({"signed", "false", "bool", {}, "", ""});
    Ipu::ElementIndex::AddElement(entry);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Port_MsgManData::setSink([](const Port_MsgManData::Message&) {});
    AddCatalogueEntry();
    return 0;
}

// Whatever the reader accepts, the writer writes, and that reads back to the same file:
// nothing read is lost on the next save.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString failure;
    QStringList notes;
    const auto design = SimC::ProjectFileReader::ReadData(bytes, kFile, failure, notes);
    Require(static_cast<bool>(design) == failure.isEmpty());
    if (!design) {
        Require(failure.startsWith(QLatin1String("line ")));
        return 0;
    }
    QString reason;
    const QByteArray first = SimC::ProjectFileWriter::ToXml(*design, reason);
    Require(!first.isEmpty() && reason.isEmpty());
    const auto again = SimC::ProjectFileReader::ReadData(first, kFile, failure, notes = {});
    Require(again && notes.isEmpty());
    Require(again->CountElements() == design->CountElements());
    Require(SimC::ProjectFileWriter::ToXml(*again, reason) == first);
    return 0;
}
