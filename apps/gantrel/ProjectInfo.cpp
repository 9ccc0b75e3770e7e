#include "ProjectInfo.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>

#include "En_Ip.h"
#include "En_Project.h"
#include "IpListing.h"
#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "Sim_Utility.h"
#include "TextTable.h"

namespace {

QString text(const Port::String& value)
{
    return Sim::Utility::PortStringToQString(value);
}

QJsonObject partObject(const Ipu::PelPart& part)
{
    return QJsonObject{{"family", text(part.GetFamily())},
                       {"device", text(part.GetDevice())},
                       {"package", text(part.GetPackage())},
                       {"speedgrade", text(part.GetSpeedGrade())}};
}

QJsonObject optionsObject(const Ipu::ProjectOptions& options)
{
    Ipu::ProjectOptions::KeyValueList pairs;
    options.GetKeyValuePairs(pairs);
    QJsonObject object;
    for (const auto& pair : pairs)
        object.insert(text(pair.first), text(pair.second));
    return object;
}

QJsonArray ipArray(const QList<En::Ip>& ips)
{
    QJsonArray array;
    for (const En::Ip& ip : ips) {
        array.append(QJsonObject{
            {"vlnv", text(ip.GetIPComponent()->GetKey())},
            {"name", ip.GetCoreName()},
            {"displayName", ip.GetIpName()},
            {"version", ip.GetIpVersion()},
            {"status", text(ip.GetLifeCycleStatus().ToString())},
            {"parameters", IpListing::parametersJson(ip.GetIPComponent()->GetParameters())}});
    }
    return array;
}

}  // namespace

ProjectInfo::ProjectInfo(const En::Project& project) : localDate(project.GetDateModified())
{
    Ipu::ProjectOptions options;
    project.GetProjectOptions(options);
    const QString file = text(project.GetFullFileName());
    info = QJsonObject{{"name", project.GetName()},
                       {"file", file},
                       {"date", QFileInfo(file).lastModified().toUTC().toString(Qt::ISODate)},
                       {"part", partObject(options.GetPelPart())},
                       {"options", optionsObject(options)},
                       {"ips", ipArray(project.GetIpList())}};
}

void ProjectInfo::print(QTextStream& out) const
{
    const QJsonObject part = info["part"].toObject();
    out << "Name:  " << info["name"].toString() << '\n'
        << "File:  " << info["file"].toString() << '\n'
        << "Date:  " << localDate << '\n'
        << "Part:  "
        << QStringList{part["family"].toString(), part["device"].toString(),
                       part["package"].toString(), part["speedgrade"].toString()}
               .join(' ')
        << "\n\nOptions:\n";
    const QJsonObject options = info["options"].toObject();
    for (auto it = options.begin(); it != options.end(); ++it)
        out << "  " << it.key() << " = " << it.value().toString() << '\n';
    out << "\nIPs:\n";
    TextTable table({"VLNV", "NAME", "VERSION", "STATUS"});
    for (const QJsonValue& ip : info["ips"].toArray()) {
        const QJsonObject object = ip.toObject();
        table.addRow({object["vlnv"].toString(), object["name"].toString(),
                      object["version"].toString(), object["status"].toString()});
    }
    table.print(out);
    printParameters(out);
}

void ProjectInfo::printParameters(QTextStream& out) const
{
    for (const QJsonValue& ip : info["ips"].toArray()) {
        const QJsonArray parameters = ip["parameters"].toArray();
        if (parameters.isEmpty())
            continue;
        out << "\nParameters of " << ip["name"].toString() << ":\n";
        for (const QJsonValue& parameter : parameters)
            out << "  " << parameter["name"].toString() << " = " << parameter["value"].toString()
                << '\n';
    }
}
