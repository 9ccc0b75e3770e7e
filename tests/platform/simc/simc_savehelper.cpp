// Saves a design of 1,000 members over the project file named on the command line through
// the engine's project file writer, says "written <bytes>" once the content is in the
// temporary file, and then commits (--commit) or waits to be killed.
#include "Ipu_VersionedIdentifier.h"
#include "SimC_DesignFactory.h"
#include "SimC_ProjectFileWriter.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>

#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 2)
        return 2;
    const QByteArray file = arguments[1].toUtf8();
    const auto design = SimC::DesignFactory::NewDesign(
        file.constData(), Ipu::VersionedIdentifier("pellor", "Gantrel", "helper", "1.0"));
    for (int i = 0; i < 1000; ++i) {
        const auto member = SimC::DesignFactory::NewMember("acme:misc:bulk:1.0");
        member->SetName(QString("bulk_%1").arg(i).toStdString());
        design->AddElement(member);
    }
    QString reason;
    const QByteArray content = SimC::ProjectFileWriter::ToXml(*design, reason);
    SimC::ProjectFileWriter writer(arguments[1]);
    if (content.isEmpty() || !writer.Write(content))
        return 1;
    std::printf("written %lld\n", static_cast<long long>(content.size()));
    std::fflush(stdout);
    if (arguments.contains("--commit"))
        return writer.Commit() ? 0 : 1;
    for (;;)
        pause();
}
