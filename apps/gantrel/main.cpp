#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>
#include <memory>

#include "BatchCommand.h"
#include "CitP_Factory.h"
#include "CommandLine.h"
#include "En_ProjectPropertiesXmlWriter.h"
#include "En_UpdatesInfo.h"
#include "En_VipcClient.h"
#include "En_VipcEngineNotify.h"
#include "IpListing.h"
#include "Ipu_EngineNotifyMgr.h"
#include "MainWindowMode.h"
#include "PartListing.h"
#include "PollingCommand.h"
#include "Port_MsgManData.h"
#include "Port_Version.h"
#include "ProjectCommands.h"
#include "SimC_Identifiers.h"
#include "Sim_CatalogLoader.h"
#include "Sim_DataLocation.h"
#include "Sim_FamilySupport.h"
#include "Sim_Utility.h"

namespace {

void error(const QString& text)
{
    Port_MsgManData::createObject("gantrel", "gantrel", __LINE__)
        .issueError("%s\n", qPrintable(text));
}

int usageError(const QString& reason)
{
    std::fprintf(stderr, "gantrel: %s (see gantrel --help)\n", qPrintable(reason));
    return CommandLine::UsageError;
}

// Qt would decode such an argument into another name; a path is used as given or refused.
QString nonUtf8Argument(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (QString::fromUtf8(argument).toUtf8() == argument)
            continue;
        QString shown;
        for (const char byte : argument) {
            const auto value = static_cast<unsigned char>(byte);
            shown += value < 0x20 || value >= 0x7f
                         ? QStringLiteral("\\x%1").arg(value, 2, 16, QChar('0'))
                         : QString(QChar(value));
        }
        return QStringLiteral("argument '%1' is not UTF-8 text").arg(shown);
    }
    return {};
}

// Warnings and errors always show; status and information lines only without --quiet.
void hideChatter()
{
    Port_MsgManData::setSink([](const Port_MsgManData::Message& message) {
        if (message.kind == Port_MsgManData::Error || message.kind == Port_MsgManData::Warning)
            Port_MsgManData::printToStderr(message);
    });
}

void applyDataLocation(const CommandLine& commandLine)
{
    std::vector<Port::String> directories;
    for (const QString& directory : commandLine.catalogDirectories())
        directories.push_back(Sim::Utility::QStringToPortString(directory));
    Sim::DataLocation::SetCatalogDirectories(directories);
    Sim::DataLocation::SetDefaultCatalogUsed(commandLine.defaultCatalog());
    Sim::DataLocation::SetDeviceDatabaseFile(
        Sim::Utility::QStringToPortString(commandLine.devicesFile()));
}

// Projects are opened through the engine component; without it they would only be
// "could not be opened", so say once why.
void checkEngineComponent()
{
    if (CitP::Factory::LoadLibraryFactory(SimC::ENGINE_LIBRARY) != 0)
        error(QStringLiteral("The engine component %1 could not be loaded: %2")
                  .arg(SimC::ENGINE_LIBRARY, CitP::Factory::LastError().c_str()));
}

void printJson(const QJsonDocument& document)
{
    std::fputs(document.toJson(QJsonDocument::Indented).constData(), stdout);
}

int listIps(bool json)
{
    // Files skipped with a warning still leave a listing; a directory that cannot be
    // walked at all means the listing is not the catalogue the user asked for.
    Sim::CatalogLoader::Counts counts;
    const unsigned status =
        Sim::CatalogLoader::Load(Sim::DataLocation::CatalogDirectories(), counts);
    const IpListing listing = IpListing::FromElementIndex();
    QTextStream out(stdout);
    json ? printJson(QJsonDocument(listing.toJson())) : listing.printTable(out);
    return status == 0 ? 0 : 1;
}

int listParts(const QString& family, bool json)
{
    if (Sim::FamilySupport::Refresh() != 0)
        return 1;
    PartListing listing;
    if (!listing.load(family)) {
        error(QStringLiteral("Unknown device family '%1'.").arg(family));
        return 1;
    }
    QTextStream out(stdout);
    json ? printJson(QJsonDocument(listing.toJson())) : listing.printTable(out);
    return 0;
}

// Like a project file, an existing file is the user's until --force says otherwise.
int writePropertiesXml(const QString& file, bool force)
{
    const QFileInfo info(QFileInfo(file).absoluteFilePath());
    if (!force && (info.exists() || info.isSymLink())) {
        error(QStringLiteral("%1 exists already; give --force to replace it").arg(info.filePath()));
        return 1;
    }
    const Port::String path = Sim::Utility::QStringToPortString(info.filePath());
    if (En::ProjectPropertiesXmlWriter().Write(path) != 0)
        return 1;
    std::printf("%s\n", qPrintable(info.filePath()));
    return 0;
}

// One line per update, its description's lines joined; in JSON an array of lines each.
int listUpdates(bool json)
{
    const En::UpdatesInfo info;
    QJsonArray array;
    for (const QString& update : info.GetUpdates()) {
        const QStringList lines = update.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (json)
            array.append(QJsonArray::fromStringList(lines));
        else
            std::printf("%s\n", qPrintable(lines.join(QStringLiteral("; "))));
    }
    if (json)
        printJson(QJsonDocument(array));
    return 0;
}

int run(const CommandLine& commandLine)
{
    switch (commandLine.mode()) {
        case CommandLine::Version:
            std::printf("Pellor Gantrel %s\n", Port::Version::getValue("version").c_str());
            return 0;
        case CommandLine::ListIps:
            return listIps(commandLine.json());
        case CommandLine::ListParts:
            return listParts(commandLine.family(), commandLine.json());
        case CommandLine::Info:
            checkEngineComponent();
            return ProjectCommands::Show(commandLine.modeValue(), commandLine.json());
        case CommandLine::Actions:
            checkEngineComponent();
            return ProjectCommands::ListActions(commandLine.modeValue(), commandLine.ip(),
                                                commandLine.json());
        case CommandLine::Regenerate:
            checkEngineComponent();
            return ProjectCommands::Regenerate(commandLine.modeValue(), commandLine.jobs());
        case CommandLine::New:
            checkEngineComponent();
            return ProjectCommands::Create(commandLine.modeValue(), commandLine.force());
        case CommandLine::PropertiesXml:
            return writePropertiesXml(commandLine.modeValue(), commandLine.force());
        case CommandLine::Updates:
            return listUpdates(commandLine.json());
        case CommandLine::Import:
            checkEngineComponent();
            return ProjectCommands::Import(commandLine.modeValue(), commandLine.project());
        case CommandLine::Batch:
            checkEngineComponent();
            return BatchCommand::Run(commandLine.modeValue(), commandLine.batchCommandPath());
        case CommandLine::Poll:
            checkEngineComponent();
            return PollingCommand::Run(commandLine.modeValue(), commandLine.batchCommandPath());
        case CommandLine::None:
            return MainWindowMode::Run();
        case CommandLine::Help:
            break;
    }
    std::fputs(qPrintable(commandLine.helpText()), stdout);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    const QString notUtf8 = nonUtf8Argument(argc, argv);
    if (!notUtf8.isEmpty())
        return usageError(notUtf8);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromUtf8(argv[i]));
    CommandLine commandLine;
    if (!commandLine.parse(arguments))
        return usageError(commandLine.error());

    // Without a mode the main window opens: the one mode that needs a display.
    const bool window = commandLine.mode() == CommandLine::None;
    if (window && !MainWindowMode::DisplayAvailable())
        return 1;
    // Actions are GUI objects even where no window is shown; polling and import use them too.
    const bool gui = commandLine.mode() == CommandLine::Actions ||
                     commandLine.mode() == CommandLine::Poll ||
                     commandLine.mode() == CommandLine::Import;
    if (gui)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(window
                                                    ? MainWindowMode::CreateApplication(argc, argv)
                                                : gui ? new QGuiApplication(argc, argv)
                                                      : new QCoreApplication(argc, argv));
    QCoreApplication::setOrganizationName(QStringLiteral("Pellor"));
    QCoreApplication::setApplicationName(QStringLiteral("Gantrel"));
    QCoreApplication::setApplicationVersion(Port::Version::getValue("version").c_str());
    if (commandLine.quiet())
        hideChatter();
    applyDataLocation(commandLine);
    // Registered before the mode runs, so that every report of its generations is passed on.
    En::VipcEngineNotify navigatorNotify;
    if (!commandLine.navigatorHost().isEmpty()) {
        Ipu::EngineNotifyMgr::AddEngineNotify(&navigatorNotify);
        En::VipcClient::GetInstance()->EstablishConnection(
            commandLine.navigatorPort(),
            Sim::Utility::QStringToPortString(commandLine.navigatorHost()));
    }
    return run(commandLine);
}
