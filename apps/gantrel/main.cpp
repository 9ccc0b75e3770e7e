#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

#include "En_Global.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "IpListing.h"
#include "PartListing.h"
#include "Port_MsgManData.h"
#include "Port_Version.h"
#include "ProjectInfo.h"
#include "Sim_CatalogLoader.h"
#include "Sim_DataLocation.h"
#include "Sim_FamilySupport.h"
#include "Sim_Utility.h"

namespace {

struct Options {
    QCommandLineOption version{"version", "Prints the product and its version."};
    QCommandLineOption catalog{"catalog", "Reads the IP catalogue from DIR (repeatable).", "DIR"};
    QCommandLineOption devices{"devices", "Reads the device database from FILE.", "FILE"};
    QCommandLineOption listIps{"list-ips", "Lists the IP catalogue."};
    QCommandLineOption listParts{"list-parts", "Lists the parts of the device database."};
    QCommandLineOption family{"family", "With --list-parts: only the parts of family NAME.",
                              "NAME"};
    QCommandLineOption info{"info", "Prints the project PROJECT: its name, part, options and IPs.",
                            "PROJECT"};
    QCommandLineOption create{"new",
                              "Creates a project in DIR (or the project file DIR names) and "
                              "saves it.",
                              "DIR"};
    QCommandLineOption json{"json", "With a listing or --info: prints JSON."};
};

void error(const QString& text)
{
    Port_MsgManData::createObject("gantrel", "gantrel", __LINE__)
        .issueError("%s\n", qPrintable(text));
}

// Where the catalogue and the device database come from, when the user named them.
void applyDataLocation(const QCommandLineParser& parser, const Options& options)
{
    std::vector<Port::String> directories;
    for (const QString& directory : parser.values(options.catalog))
        directories.push_back(Sim::Utility::QStringToPortString(directory));
    Sim::DataLocation::SetCatalogDirectories(directories);
    Sim::DataLocation::SetDeviceDatabaseFile(
        Sim::Utility::QStringToPortString(parser.value(options.devices)));
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

// The project manager of an unattended run: the families load at once, the run is
// never recorded as the user's previous project, and the catalogue is loaded now (there
// is no event loop to load it later).
En::ProjectManager* unattendedProjectManager()
{
    En::Global::_batchCommandRuntimeOptions.EnableBatchMode(true);
    En::ProjectManager* manager = En::ProjectManager::GetInstance();
    manager->RefreshAllRepositories();
    return manager;
}

int showProject(const QString& path, bool json)
{
    En::ProjectManager* manager = unattendedProjectManager();
    manager->SetProject(Sim::Utility::QStringToPortString(path));
    // A file that could not be opened still leaves a (disabled) project behind.
    if (!manager->ProjectOpen() || !manager->GetProject()->IsEnabled())
        return 1;
    const ProjectInfo info(*manager->GetProject());
    QTextStream out(stdout);
    json ? printJson(QJsonDocument(info.toJson())) : info.print(out);
    return 0;
}

int newProject(const QString& path)
{
    En::ProjectManager* manager = unattendedProjectManager();
    if (manager->NewProject(Sim::Utility::QStringToPortString(path)) != 0)
        return 1;
    std::printf("%s\n", manager->GetProject()->GetFullFileName().c_str());
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pellor"));
    QCoreApplication::setApplicationName(QStringLiteral("Gantrel"));
    QCoreApplication::setApplicationVersion(Port::Version::getValue("version").c_str());

    const Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Customizes and generates IP cores."));
    parser.addHelpOption();
    parser.addOptions({options.version, options.catalog, options.devices, options.listIps,
                       options.listParts, options.family, options.info, options.create,
                       options.json});
    parser.process(app);

    if (parser.isSet(options.version)) {
        std::printf("Pellor Gantrel %s\n", Port::Version::getValue("version").c_str());
        return 0;
    }
    applyDataLocation(parser, options);
    if (parser.isSet(options.listIps))
        return listIps(parser.isSet(options.json));
    if (parser.isSet(options.info))
        return showProject(parser.value(options.info), parser.isSet(options.json));
    if (parser.isSet(options.create))
        return newProject(parser.value(options.create));
    if (parser.isSet(options.listParts))
        return listParts(parser.value(options.family), parser.isSet(options.json));
    parser.showHelp(0);
}
