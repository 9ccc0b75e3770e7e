#include "SimC_Products.h"

#include "SimC_CoreGenerics.h"
#include "SimC_GtcWriter.h"
#include "SimC_HdlLiteral.h"
#include "SimC_VerilogWriter.h"
#include "SimC_VhdlWriter.h"
#include "Sim_Utility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SimC {

namespace {

using Language = Wrapper::Language;
using Options = Ipu::ProjectOptions;

QString Q(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

bool IsSourceOf(const Ipu::IPComponent::FileEntry& entry, Language language)
{
    const QString type = Q(entry.fileType);
    const bool verilog =
        type.startsWith(u"verilogSource") || type.startsWith(u"systemVerilogSource");
    return Q(entry.fileSet) == u"rtl" &&
           (language == Language::Verilog ? verilog : type.startsWith(u"vhdlSource"));
}

bool Flag(const Options& options, unsigned (Options::*getter)(bool&) const)
{
    bool value = false;
    return (options.*getter)(value) == 0 && value;
}

// Only the core's declared parameters are passed: the others keep the core's defaults,
// and a parameter the core lacks would not compile.
bool BindValues(const Ipu::Parameters& parameters, Language language,
                const std::vector<CoreGenerics::Generic>& generics, Wrapper& wrapper,
                QString& reason)
{
    for (const CoreGenerics::Generic& generic : generics) {
        Ipu::Parameters::Parameter parameter;
        if (parameters.Get(Sim::Utility::QStringToPortString(generic.name), parameter) != 0) {
            continue;
        }
        QString literal;
        const bool ok = language == Language::Verilog
                            ? HdlLiteral::Verilog(parameter, generic.type, literal, reason)
                            : HdlLiteral::Vhdl(parameter, generic.type, literal, reason);
        if (!ok) {
            return false;
        }
        wrapper.values.push_back({generic.name, literal});
    }
    return true;
}

bool ReadText(const QString& path, QByteArray& out, QString& reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("%1 cannot be read: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    out = file.readAll();
    out.replace("\r\n", "\n");
    return true;
}

QString HdlFile(const QString& name, Language language)
{
    return name + (language == Language::Verilog ? QStringLiteral(".v") : QStringLiteral(".vhd"));
}

QString TemplateFile(const QString& name, Language language)
{
    return name + (language == Language::Verilog ? QStringLiteral(".veo") : QStringLiteral(".vho"));
}

QString Value(const Options& options, unsigned (Options::*getter)(Port::String&) const)
{
    Port::String value;
    (options.*getter)(value);
    return value.IsEmpty() ? QStringLiteral("(none)") : Q(value);
}

}  // namespace

Products::Products(const Ipu::IPComponent& ip, const Ipu::ProjectOptions& options,
                   const QString& directory)
    : ip(ip), options(options), directory(directory)
{
}

unsigned Products::WriteHdl(QString& reason)
{
    Wrapper wrapper;
    if (!Prepare(wrapper, reason)) {
        return Refuse(HdlFile(wrapper.name, Languages().front()), reason);
    }
    for (const Language language : Languages()) {
        if (!WriteWrapper(wrapper, language, reason)) {
            return 1;
        }
    }
    return 0;
}

unsigned Products::WriteTemplate(QString& reason)
{
    Wrapper wrapper;
    if (!Prepare(wrapper, reason)) {
        return Refuse(TemplateFile(wrapper.name, Languages().front()), reason);
    }
    for (const Language language : Languages()) {
        const QString text = language == Language::Verilog ? VerilogWriter::Template(wrapper)
                                                           : VhdlWriter::Template(wrapper);
        if (!Save(TemplateFile(wrapper.name, language), text.toUtf8(), reason)) {
            return 1;
        }
    }
    return 0;
}

unsigned Products::WriteGtc(QString& reason)
{
    const QString fileName = Q(ip.GetName()) + QStringLiteral(".gtc");
    QString text;
    if (!GtcWriter::Write(ip, options, text, reason)) {
        return Refuse(fileName, reason);
    }
    return Save(fileName, text.toUtf8(), reason) ? 0 : 1;
}

unsigned Products::WriteAsy(QString& reason)
{
    if (!Flag(options, &Options::GetASYSymbolFile)) {
        return 0;
    }
    Wrapper wrapper;
    if (!Prepare(wrapper, reason)) {
        return Refuse(wrapper.name + QStringLiteral(".asy"), reason);
    }
    QString text =
        QStringLiteral("# Symbol of %1, written by Pellor Gantrel.\nSYMBOL %1\n").arg(wrapper.name);
    for (const Wrapper::Port& port : wrapper.ports) {
        const qint64 width = port.vector ? qAbs(port.left - port.right) + 1 : 1;
        text += QStringLiteral("PIN %1 %2 %3").arg(port.name, port.direction).arg(width);
        text += port.vector ? QStringLiteral(" %1 %2\n").arg(port.left).arg(port.right)
                            : QStringLiteral("\n");
    }
    return Save(wrapper.name + QStringLiteral(".asy"), (text + QStringLiteral("END\n")).toUtf8(),
                reason)
               ? 0
               : 1;
}

unsigned Products::WriteResourceReport(QString& reason)
{
    const QString name = Q(ip.GetName());
    const Ipu::VersionedIdentifier& id = ip.GetIdentifier();
    QString text = QStringLiteral("# Resources of %1, written by Pellor Gantrel.\n").arg(name);
    text += QStringLiteral("Family: %1\nDevice: %2\nPackage: %3\nSpeedGrade: %4\n")
                .arg(Value(options, &Options::GetDeviceFamily), Value(options, &Options::GetDevice),
                     Value(options, &Options::GetPackage), Value(options, &Options::GetSpeedGrade));
    text += QStringLiteral("Vendor: %1\nLibrary: %2\nIP: %3\nVersion: %4\n")
                .arg(Q(id.GetVendor()), Q(id.GetLibrary()), Q(id.GetName()), Q(id.GetVersion()));
    for (const Ipu::Parameters::Parameter& parameter : ip.GetParameters()) {
        text += QStringLiteral("Parameter %1: %2\n").arg(Q(parameter.name), Q(parameter.value));
    }
    return Save(name + QStringLiteral("_resources.txt"), text.toUtf8(), reason) ? 0 : 1;
}

unsigned Products::WriteFileList(QString& reason)
{
    const QString fileName = Q(ip.GetName()) + QStringLiteral("_flist.txt");
    const QStringList names = written + QStringList{fileName};
    return Save(fileName, (names.join(u'\n') + u'\n').toUtf8(), reason) ? 0 : 1;
}

// The language of an HDL design entry, both for the others; and either one that the
// simulation options ask for.
std::vector<Wrapper::Language> Products::Languages() const
{
    Port::String entry;
    options.GetInternalDesignEntry(entry);
    std::vector<Language> languages;
    if (Q(entry) != QLatin1String(Options::DESIGNENTRY_VERILOG) ||
        Flag(options, &Options::GetVHDLSimulationModel)) {
        languages.push_back(Language::Vhdl);
    }
    if (Q(entry) != QLatin1String(Options::DESIGNENTRY_VHDL) ||
        Flag(options, &Options::GetVerilogSimulationModel)) {
        languages.push_back(Language::Verilog);
    }
    return languages;
}

bool Products::Prepare(Wrapper& wrapper, QString& reason) const
{
    wrapper.name = Q(ip.GetName());
    wrapper.origin = Q(ip.GetIdentifier().GetKey());
    return Wrapper::EvaluatePorts(ip, wrapper.ports, reason);
}

bool Products::WriteWrapper(Wrapper wrapper, Wrapper::Language language, QString& reason)
{
    const QString fileName = HdlFile(wrapper.name, language);
    const std::vector<Ipu::IPComponent::FileEntry> sources = CoreSources(language);
    if (!sources.empty() && !BindCore(wrapper, language, sources, reason)) {
        Refuse(fileName, reason);
        return false;
    }
    const QString text = language == Language::Verilog ? VerilogWriter::Module(wrapper)
                                                       : VhdlWriter::Entity(wrapper);
    if (!Save(fileName, text.toUtf8(), reason)) {
        return false;
    }
    for (const Ipu::IPComponent::FileEntry& source : sources) {
        if (!CopySource(Q(source.path), reason)) {
            return false;
        }
    }
    return true;
}

bool Products::BindCore(Wrapper& wrapper, Wrapper::Language language,
                        const std::vector<Ipu::IPComponent::FileEntry>& sources,
                        QString& reason) const
{
    const QString core = Q(ip.GetIdentifier().GetName()) + QStringLiteral("_core");
    if (wrapper.name.compare(core, Qt::CaseInsensitive) == 0) {
        reason = QStringLiteral("the name %1 is taken by the IP's core").arg(wrapper.name);
        return false;
    }
    for (const Ipu::IPComponent::FileEntry& source : sources) {
        QByteArray text;
        if (!ReadText(Q(source.path), text, reason)) {
            return false;
        }
        std::vector<CoreGenerics::Generic> generics;
        const bool found = language == Language::Verilog
                               ? CoreGenerics::ReadVerilog(QString::fromUtf8(text), core, generics)
                               : CoreGenerics::ReadVhdl(QString::fromUtf8(text), core, generics);
        if (found) {
            wrapper.core = core;
            if (!source.logicalName.IsEmpty()) {
                wrapper.library = Q(source.logicalName);
            }
            return BindValues(ip.GetParameters(), language, generics, wrapper, reason);
        }
    }
    reason = QStringLiteral("no source of the IP declares its core %1").arg(core);
    return false;
}

std::vector<Ipu::IPComponent::FileEntry> Products::CoreSources(Wrapper::Language language) const
{
    std::vector<Ipu::IPComponent::FileEntry> sources;
    for (const Ipu::IPComponent::FileEntry& entry : ip.GetFileEntries()) {
        if (IsSourceOf(entry, language)) {
            sources.push_back(entry);
        }
    }
    return sources;
}

bool Products::CopySource(const QString& path, QString& reason)
{
    const QString fileName = QFileInfo(path).fileName();
    if (written.contains(fileName, Qt::CaseInsensitive)) {
        reason = QStringLiteral("the core's source %1 has the name of another product")
                     .arg(QDir::toNativeSeparators(path));
        Refuse(fileName, reason);
        return false;
    }
    QByteArray content;
    return ReadText(path, content, reason) && Save(fileName, content, reason);
}

unsigned Products::Refuse(const QString& fileName, QString& reason) const
{
    reason = QDir::toNativeSeparators(QDir(directory).filePath(fileName)) + QStringLiteral(": ") +
             reason;
    return 1;
}

// The directory is a staging area that the engine moves into place all or nothing, so a
// file needs no atomic save of its own, nor a flush to disk that would serialize the runs.
// A product that is already in place as it is costs no file at all: regenerating an
// unchanged project creates and deletes nothing.
bool Products::Save(const QString& fileName, const QByteArray& content, QString& reason)
{
    if (!currentDirectory.isEmpty()) {
        QFile current(QDir(currentDirectory).filePath(fileName));
        if (current.size() == content.size() && current.open(QIODevice::ReadOnly) &&
            current.readAll() == content) {
            written << fileName;
            return true;
        }
    }
    const QString path = QDir(directory).filePath(fileName);
    if (staged.isEmpty() && !QDir().mkpath(directory)) {
        reason = QStringLiteral("%1 cannot be made").arg(QDir::toNativeSeparators(directory));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size() || !file.flush()) {
        reason = QStringLiteral("%1 cannot be written: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    written << fileName;
    staged << fileName;
    return true;
}

}  // namespace SimC
