#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// What the user asked gantrel to do, read strictly: exactly one mode, no plain arguments,
// and every modifier only with a mode it applies to. Anything else is a usage error whose
// one-line reason the caller prints before it exits with UsageError.
class CommandLine {
public:
    enum Mode {
        None,  // no mode option: the main window
        Help,
        Version,
        ListIps,
        ListParts,
        Info,
        New,
        Actions,
        Regenerate,
        Batch,
        Poll,
        PropertiesXml,
        Updates,
        Import
    };
    static constexpr int UsageError = 2;

    CommandLine();
    Q_DISABLE_COPY(CommandLine)

    // False with error() set when the arguments are not a valid request.
    bool parse(const QStringList& arguments);

    Mode mode() const { return chosen; }
    // The value of the mode's option: the project for --info, the place for --new, the
    // file for --properties-xml.
    QString modeValue() const;
    QString error() const { return reason; }
    QString helpText() const { return parser.helpText(); }

    bool json() const { return parser.isSet(jsonOption); }
    bool quiet() const { return parser.isSet(quietOption); }
    bool force() const { return parser.isSet(forceOption); }
    // -p: where the batch commands' relative paths resolve; empty when not given.
    QString batchCommandPath() const { return parser.value(batchPathOption); }
    // 0 when not given: the engine's own choice.
    unsigned jobs() const { return parser.value(jobsOption).toUInt(); }
    QString family() const { return parser.value(familyOption); }
    QString ip() const { return parser.value(ipOption); }
    QStringList catalogDirectories() const { return parser.values(catalogOption); }
    bool defaultCatalog() const { return !parser.isSet(noDefaultCatalogOption); }
    QString devicesFile() const { return parser.value(devicesOption); }
    // --project: the project --import brings the file into.
    QString project() const { return parser.value(projectOption); }
    // --navigator: the host and port of the project navigator; empty host when not given.
    QString navigatorHost() const { return navigatorHostName; }
    unsigned navigatorPort() const { return navigatorPortNumber; }

private:
    bool fail(const QString& text);
    bool chooseMode();
    bool checkModifiers();
    bool checkJobs();
    bool checkNavigator();
    bool checkImport();

    QCommandLineParser parser;
    QCommandLineOption helpOption;
    QCommandLineOption versionOption{"version", "Prints the product and its version."};
    QCommandLineOption listIpsOption{"list-ips", "Lists the IP catalogue."};
    QCommandLineOption listPartsOption{"list-parts", "Lists the parts of the device database."};
    QCommandLineOption infoOption{
        "info", "Prints the project PROJECT: its name, part, options and IPs. Writes nothing.",
        "PROJECT"};
    QCommandLineOption newOption{
        "new", "Creates a project in DIR (or the project file DIR names) and saves it.", "DIR"};
    QCommandLineOption actionsOption{
        "actions", "Lists the actions offered for the project PROJECT (or for one of its IPs).",
        "PROJECT"};
    QCommandLineOption regenerateOption{
        "regenerate", "Regenerates every IP of the project PROJECT and saves it.", "PROJECT"};
    QCommandLineOption batchOption{
        "b",
        "Runs the batch command file FILE to its end; status 0 only when every command succeeded.",
        "FILE"};
    QCommandLineOption pollOption{
        "poll", "Serves the polling directory DIR: runs each complete command file dropped there.",
        "DIR"};
    QCommandLineOption propertiesXmlOption{
        "properties-xml",
        "Writes the keys of the project options, with the values each accepts, as XML to FILE.",
        "FILE"};
    QCommandLineOption updatesOption{"updates", "Lists the updates installed into the tool."};
    QCommandLineOption importOption{
        "import",
        "Imports the customized IP file FILE (.gtc, .gtq or .syv) into the project given by "
        "--project, recustomized for its part when the IP suits it.",
        "FILE"};
    QCommandLineOption projectOption{"project", "With --import: the project PROJECT.", "PROJECT"};
    QCommandLineOption batchPathOption{
        "p", "With -b or -poll: resolves the commands' relative paths against DIR.", "DIR"};
    QCommandLineOption jobsOption{
        "jobs", "With --regenerate: generates N IPs at a time (default: one per core).", "N"};
    QCommandLineOption jsonOption{
        "json", "With --list-ips, --list-parts, --info, --actions or --updates: prints JSON."};
    QCommandLineOption ipOption{
        "ip", "With --actions: the actions of the IP VLNV (or name) of the project or catalogue.",
        "VLNV"};
    QCommandLineOption familyOption{"family", "With --list-parts: only the parts of family NAME.",
                                    "NAME"};
    QCommandLineOption forceOption{
        "force", "With --new or --properties-xml: replaces an existing project or XML file."};
    QCommandLineOption quietOption{"quiet", "Hides status and information lines."};
    QCommandLineOption catalogOption{
        "catalog", "Adds the IP catalogue in DIR to the embedded one (repeatable).", "DIR"};
    QCommandLineOption noDefaultCatalogOption{"no-default-catalog",
                                              "Leaves the embedded IP catalogue out."};
    QCommandLineOption devicesOption{"devices", "Reads the device database from FILE.", "FILE"};
    QCommandLineOption navigatorOption{"navigator",
                                       "With -b, -poll, --regenerate or --import: tells the "
                                       "project navigator at HOST:PORT of each "
                                       "source file generated.",
                                       "HOST:PORT"};

    Mode chosen = None;
    QString reason;
    QString navigatorHostName;
    unsigned navigatorPortNumber = 0;
};
