#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

#include "Port_Version.h"

namespace {

QString versionLine()
{
    return QStringLiteral("Pellor Gantrel %1").arg(Port::Version::getValue("version").c_str());
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pellor"));
    QCoreApplication::setApplicationName(QStringLiteral("Gantrel"));
    QCoreApplication::setApplicationVersion(Port::Version::getValue("version").c_str());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Customizes and generates IP cores."));
    parser.addHelpOption();
    const QCommandLineOption versionOption(QStringLiteral("version"),
                                           QStringLiteral("Prints the product and its version."));
    parser.addOption(versionOption);
    parser.process(app);

    if (parser.isSet(versionOption)) {
        std::printf("%s\n", qPrintable(versionLine()));
        return 0;
    }
    parser.showHelp(0);
}
