#include "SimC_GenerationRun.h"

#include "Ipu_CustomizedIP.h"
#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_Event.h"
#include "Ipu_EventData.h"
#include "Ipu_IP.h"
#include "Ipu_IPComposite.h"
#include "Port_Env.h"
#include "Port_MsgManData.h"
#include "Port_Process.h"
#include "SimC_DesignRegistry.h"
#include "SimC_ProductMover.h"
#include "SimC_Products.h"
#include "SimC_Upgrade.h"
#include "Sim_CatalogFormat.h"
#include "Sim_Customizer.h"
#include "Sim_ParameterCheck.h"
#include "Sim_Utility.h"

#include <QDateTime>
#include <QDir>

#include <atomic>

namespace SimC {

namespace {

QString ToQ(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

Port::String ToPort(const QString& text)
{
    return Sim::Utility::QStringToPortString(text);
}

// What each step reports while it runs.
struct StepText {
    const char* kind;
    const char* message;
};

constexpr StepText kStepTexts[] = {
    {Sim::CatalogFormat::GENERATOR_VALIDATE, "Validating parameters"},
    {Sim::CatalogFormat::GENERATOR_WRITE_HDL, "Writing HDL wrapper"},
    {Sim::CatalogFormat::GENERATOR_WRITE_TEMPLATE, "Writing instantiation template"},
    {Sim::CatalogFormat::GENERATOR_WRITE_GTC, "Writing customized IP file"},
    {Sim::CatalogFormat::GENERATOR_WRITE_ASY, "Writing symbol"},
    {Sim::CatalogFormat::GENERATOR_WRITE_FLIST, "Writing file list"},
    {Sim::CatalogFormat::GENERATOR_MOVE_OUT, Ipu::Command::MOVEOUT_MSG},
    {Sim::CatalogFormat::GENERATOR_OPEN_DATASHEET, "Opening data sheet"},
    {Sim::CatalogFormat::GENERATOR_RUN_WIZARD, "Running wizard"},
    {Sim::CatalogFormat::GENERATOR_UPGRADE_LATEST, "Upgrading to the latest version"},
    {Sim::CatalogFormat::GENERATOR_UPGRADE_SELECTED, "Upgrading to the latest version"},
    {Sim::CatalogFormat::GENERATOR_WRITE_RESOURCES, "Writing resource utilization report"},
    {Sim::CatalogFormat::GENERATOR_OPEN_REPORT, "Opening resource utilization report"},
};

// The steps that write a product into the staging directory.
struct ProductStep {
    const char* kind;
    unsigned (Products::*write)(QString&);
};

constexpr ProductStep kProductSteps[] = {
    {Sim::CatalogFormat::GENERATOR_WRITE_HDL, &Products::WriteHdl},
    {Sim::CatalogFormat::GENERATOR_WRITE_TEMPLATE, &Products::WriteTemplate},
    {Sim::CatalogFormat::GENERATOR_WRITE_GTC, &Products::WriteGtc},
    {Sim::CatalogFormat::GENERATOR_WRITE_ASY, &Products::WriteAsy},
    {Sim::CatalogFormat::GENERATOR_WRITE_FLIST, &Products::WriteFileList},
    {Sim::CatalogFormat::GENERATOR_WRITE_RESOURCES, &Products::WriteResourceReport},
};

const char* MessageOf(const Port::String& kind)
{
    for (const StepText& text : kStepTexts) {
        if (kind == text.kind) {
            return text.message;
        }
    }
    return "Running step";
}

bool NameIsTaken(const std::vector<Port::String>& taken, const Port::String& name)
{
    for (const Port::String& other : taken) {
        if (other.Compare(name, Port::CompareIgnoreCase) == 0) {
            return true;
        }
    }
    return false;
}

// A fresh directory name for each run, so that runs of one IP never share a staging area.
QString StagingName(const Ipu::IPComponent& component, const Ipu::Task& task)
{
    static std::atomic<unsigned long> counter{0};
    return QStringLiteral("%1.%2.%3")
        .arg(ToQ(component.GetName()), ToQ(task.GetGenerationID()))
        .arg(++counter);
}

}  // namespace

GenerationRun::GenerationRun(Setup setup) : setup(std::move(setup))
{
    result = this->setup.original;
}

GenerationRun::~GenerationRun()
{
    if (products && !products->Staged().isEmpty()) {
        QDir(staging).removeRecursively();
    }
    // A temporary directory this run made goes too, unless another run is using it.
    if (ownsTemporary) {
        QDir().rmdir(QFileInfo(staging).absolutePath());
    }
}

Ipu::Status GenerationRun::Execute()
{
    for (const auto& step : setup.steps) {
        if (Cancelled()) {
            return Ipu::Status(CANCELLED, "Generation cancelled");
        }
        const Port::String kind = step->GetExecutable();
        Report(MessageOf(kind));
        QString reason;
        if (const unsigned status = RunStep(kind, reason)) {
            return Ipu::Status(status, ToPort(reason));
        }
    }
    QString reason;
    if (setup.task.ModifiesIP() && Commit(reason) != 0) {
        return Ipu::Status(FAILED, ToPort(reason));
    }
    return Ipu::Status(0, "Generation complete");
}

unsigned GenerationRun::RunStep(const Port::String& kind, QString& reason)
{
    using Sim::CatalogFormat;
    for (const ProductStep& step : kProductSteps) {
        if (kind == step.kind) {
            return (Writer().*step.write)(reason);
        }
    }
    if (kind == CatalogFormat::GENERATOR_VALIDATE) {
        const unsigned customized = AsksUser() ? Customize(reason) : 0;
        return customized != 0 ? customized : Validate(reason);
    }
    if (kind == CatalogFormat::GENERATOR_MOVE_OUT) {
        return MoveOut(reason);
    }
    if (kind == CatalogFormat::GENERATOR_OPEN_DATASHEET) {
        return OpenDataSheet(reason);
    }
    if (kind == CatalogFormat::GENERATOR_OPEN_REPORT) {
        return Open(ToPort(setup.outputDirectory + '/' + ToQ(setup.component->GetName()) +
                           QLatin1String("_resources.txt")),
                    reason);
    }
    if (kind == CatalogFormat::GENERATOR_UPGRADE_LATEST ||
        kind == CatalogFormat::GENERATOR_UPGRADE_SELECTED) {
        return Upgrade(reason);
    }
    reason = QStringLiteral("%1: the step '%2' needs a tool that is not installed")
                 .arg(ToQ(setup.component->GetName()), ToQ(kind));
    return FAILED;
}

// Products are written after any upgrade, so the writer is made on first use, over the IP
// as the run has made it.
Products& GenerationRun::Writer()
{
    if (!products) {
        const QString temporary = setup.outputDirectory + QLatin1String("/tmp");
        ownsTemporary = !QFileInfo::exists(temporary);
        staging = temporary + '/' + StagingName(*setup.component, setup.task);
        products.reset(new Products(*setup.component, setup.options, staging));
        products->SetCurrentDirectory(setup.outputDirectory);
    }
    return *products;
}

// Only customization chains ask, and only when the host has registered someone to ask.
bool GenerationRun::AsksUser() const
{
    const QString name = ToQ(setup.task.GetInternalName());
    return (name.startsWith(QLatin1String("customize")) ||
            name.startsWith(QLatin1String("recustomize"))) &&
           Sim::Customizer::Current();
}

unsigned GenerationRun::Customize(QString& reason)
{
    const std::shared_ptr<Sim::Customizer> customizer = Sim::Customizer::Current();
    if (customizer && !customizer->Customize(*setup.component, setup.options, setup.takenNames)) {
        reason =
            QStringLiteral("Customization of %1 cancelled").arg(ToQ(setup.component->GetName()));
        return CANCELLED;
    }
    return 0;
}

unsigned GenerationRun::Validate(QString& reason)
{
    const Ipu::IPComponent& component = *setup.component;
    if (!Sim::ParameterCheck::CheckComponentName(component.GetName(), reason) ||
        !Sim::ParameterCheck::CheckAll(component.GetParameters(), reason)) {
        return FAILED;
    }
    if (NameIsTaken(setup.takenNames, component.GetName())) {
        reason = QStringLiteral("Component name '%1' is taken by another IP of the project")
                     .arg(ToQ(component.GetName()));
        return FAILED;
    }
    return 0;
}

unsigned GenerationRun::Upgrade(QString& reason)
{
    SimC::Upgrade upgrade(*setup.component);
    if (upgrade.ToLatest(reason) != 0) {
        return FAILED;
    }
    setup.component = upgrade.Result();
    return 0;
}

unsigned GenerationRun::MoveOut(QString& reason)
{
    if (!products) {
        return 0;
    }
    ProductMover mover(staging, setup.outputDirectory);
    if (mover.Move(products->Staged(), reason) != 0) {
        return FAILED;
    }
    for (const QString& file : mover.AddedSources()) {
        Ipu::EngineNotifyMgr::NotifyAddSource(ToPort(file), setup.projectFile);
    }
    for (const QString& file : mover.UpdatedSources()) {
        Ipu::EngineNotifyMgr::NotifyUpdateSource(ToPort(file), setup.projectFile);
    }
    return 0;
}

unsigned GenerationRun::OpenDataSheet(QString& reason)
{
    Port::String path;
    if (Ipu::IP(setup.component).GetDataSheet(path, true) != 0) {
        reason = QStringLiteral("%1 has no data sheet").arg(ToQ(setup.component->GetName()));
        return FAILED;
    }
    return Open(path, reason);
}

// The desktop's handler opens it; GANTREL_OPEN_COMMAND names another opener.
unsigned GenerationRun::Open(const Port::String& path, QString& reason)
{
    if (!ToQ(path).contains(QLatin1String("://")) && !QFileInfo::exists(ToQ(path))) {
        reason = QStringLiteral("Cannot open %1: no such file").arg(ToQ(path));
        return FAILED;
    }
    Port::String opener = Port_Env::GetVariable("GANTREL_OPEN_COMMAND");
    if (opener.IsEmpty()) {
        opener = "xdg-open";
    }
    if (Port::Process::RunNoWindow(std::vector<Port::String>{opener, path}, nullptr, 0, false,
                                   false, false) != Port::Process::RAN) {
        reason = QStringLiteral("Cannot open %1 with %2").arg(ToQ(path), ToQ(opener));
        return FAILED;
    }
    return 0;
}

// A member of the same name takes the run's IP and keeps its identity in the design; a new
// name adds a member.
unsigned GenerationRun::Commit(QString& reason)
{
    if (setup.designId.IsEmpty()) {
        return 0;
    }
    Ipu::IPComponent& component = *setup.component;
    component.SetProjectOptions(setup.options);
    component.SetChangeTime(QDateTime::currentSecsSinceEpoch());
    component.SetFileModifiedByUser(false);
    boost::shared_ptr<Ipu::IPComponent> member;
    DesignRegistry::WithDesign(setup.designId, [&](Ipu::IPComposite& design) {
        member =
            boost::dynamic_pointer_cast<Ipu::IPComponent>(design.FindElement(component.GetName()));
        if (member) {
            member->UpdateFrom(component);
        }
    });
    if (!member && !DesignRegistry::AddMember(setup.designId, setup.component).IsEmpty()) {
        member = setup.component;
    }
    if (!member) {
        reason = QStringLiteral("Cannot add %1 to the project: it is closed")
                     .arg(ToQ(component.GetName()));
        return FAILED;
    }
    result = member;
    return 0;
}

// Each event carries a copy of the IP as it stands, since the run goes on changing its own
// while the receivers read theirs on other threads.
void GenerationRun::TellEnd(const Ipu::Status& status) const
{
    auto message = Port_MsgManData::createObject("simc", "SimC_GenerationRun", __LINE__);
    if (status.GetCode() == CANCELLED) {
        message.issueWarning("Generation of %s cancelled\n", Name().c_str());
    } else if (!status.IsSuccess()) {
        message.issueError("Generation of %s failed: %s\n", Name().c_str(),
                           status.GetMessage().c_str());
    }
}

void GenerationRun::Report(const char* message) const
{
    Ipu::Event event(Ipu::Event::TYPE_STEP, Ipu::Status(0, message),
                     Ipu::EventData(setup.task, Ipu::CustomizedIP(setup.component->Clone())));
    Ipu::EngineNotifyMgr::NotifyEvent(event);
}

bool GenerationRun::Cancelled() const
{
    return Ipu::EngineNotifyMgr::IsCancelled(Ipu::EventData(setup.task, Ipu::CustomizedIP()));
}

}  // namespace SimC
