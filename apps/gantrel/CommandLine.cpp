#include "CommandLine.h"

#include <initializer_list>
#include <utility>

namespace {

// As the user types it: the long words with two dashes, the batch words with one.
QString Spelled(const QCommandLineOption& option)
{
    const QString name = option.names().constFirst();
    return (name == "b" || name == "poll" || name == "p" ? "-" : "--") + name;
}

}  // namespace

CommandLine::CommandLine() : helpOption(parser.addHelpOption())
{
    parser.setApplicationDescription(QStringLiteral(
        "Customizes and generates IP cores. Without a command it opens the main window."));
    // -b, -poll and -p are words of their own, not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({versionOption, listIpsOption,       listPartsOption,  infoOption,
                       newOption,     actionsOption,       regenerateOption, batchOption,
                       pollOption,    propertiesXmlOption, updatesOption,    batchPathOption,
                       jsonOption,    familyOption,        ipOption,         forceOption,
                       jobsOption,    quietOption,         catalogOption,    noDefaultCatalogOption,
                       devicesOption, navigatorOption,     importOption,     projectOption});
}

bool CommandLine::parse(const QStringList& arguments)
{
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(helpOption)) {
        chosen = Help;
        return true;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument '%1'")
                        .arg(parser.positionalArguments().constFirst()));
    return chooseMode() && checkModifiers() && checkJobs() && checkNavigator() && checkImport();
}

QString CommandLine::modeValue() const
{
    if (chosen == Info)
        return parser.value(infoOption);
    if (chosen == New)
        return parser.value(newOption);
    if (chosen == Actions)
        return parser.value(actionsOption);
    if (chosen == Regenerate)
        return parser.value(regenerateOption);
    if (chosen == Batch)
        return parser.value(batchOption);
    if (chosen == Poll)
        return parser.value(pollOption);
    if (chosen == PropertiesXml)
        return parser.value(propertiesXmlOption);
    if (chosen == Import)
        return parser.value(importOption);
    return {};
}

bool CommandLine::fail(const QString& text)
{
    reason = text;
    return false;
}

bool CommandLine::chooseMode()
{
    const std::initializer_list<std::pair<Mode, const QCommandLineOption*>> modes{
        {Version, &versionOption},
        {ListIps, &listIpsOption},
        {ListParts, &listPartsOption},
        {Info, &infoOption},
        {New, &newOption},
        {Actions, &actionsOption},
        {Regenerate, &regenerateOption},
        {Batch, &batchOption},
        {Poll, &pollOption},
        {PropertiesXml, &propertiesXmlOption},
        {Updates, &updatesOption},
        {Import, &importOption}};
    QStringList given;
    for (const auto& [mode, option] : modes) {
        if (parser.isSet(*option)) {
            chosen = mode;
            given.append(Spelled(*option));
        }
    }
    if (given.size() > 1)
        return fail(QStringLiteral("%1 cannot be given together").arg(given.join(", ")));
    return true;
}

// A modifier given without a mode it changes would be silently ignored; say so instead.
bool CommandLine::checkModifiers()
{
    struct Modifier {
        const QCommandLineOption* option;
        std::initializer_list<Mode> modes;
        const char* needs;
    };
    const Modifier modifiers[]{
        {&jsonOption,
         {ListIps, ListParts, Info, Actions, Updates},
         "--list-ips, --list-parts, --info, --actions or --updates"},
        {&familyOption, {ListParts}, "--list-parts"},
        {&ipOption, {Actions}, "--actions"},
        {&forceOption, {New, PropertiesXml}, "--new or --properties-xml"},
        {&jobsOption, {Regenerate}, "--regenerate"},
        {&batchPathOption, {Batch, Poll}, "-b or -poll"},
        {&navigatorOption,
         {Batch, Poll, Regenerate, Import},
         "-b, -poll, --regenerate or --import"},
        {&projectOption, {Import}, "--import"},
    };
    for (const Modifier& modifier : modifiers) {
        if (!parser.isSet(*modifier.option))
            continue;
        bool applies = false;
        for (Mode mode : modifier.modes)
            applies = applies || mode == chosen;
        if (!applies)
            return fail(QStringLiteral("%1 only goes with %2")
                            .arg(Spelled(*modifier.option), modifier.needs));
    }
    return true;
}

bool CommandLine::checkJobs()
{
    if (!parser.isSet(jobsOption))
        return true;
    bool number = false;
    const unsigned count = parser.value(jobsOption).toUInt(&number);
    if (!number || count < 1 || count > 256)
        return fail(QStringLiteral("--jobs takes a whole number from 1 to 256, not '%1'")
                        .arg(parser.value(jobsOption)));
    return true;
}

bool CommandLine::checkImport()
{
    if (chosen == Import && !parser.isSet(projectOption))
        return fail(QStringLiteral("--import needs --project PROJECT"));
    return true;
}

// The port follows the last colon, so that a numeric IPv6 host keeps its own colons.
bool CommandLine::checkNavigator()
{
    if (!parser.isSet(navigatorOption))
        return true;
    const QString value = parser.value(navigatorOption);
    const int colon = value.lastIndexOf(QLatin1Char(':'));
    bool number = false;
    const unsigned port = colon < 0 ? 0 : value.mid(colon + 1).toUInt(&number);
    QString host = value.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    if (colon < 1 || host.isEmpty() || !number || port < 1 || port > 65535)
        return fail(
            QStringLiteral("--navigator takes HOST:PORT with a port from 1 to 65535, not '%1'")
                .arg(value));
    navigatorHostName = host;
    navigatorPortNumber = port;
    return true;
}
