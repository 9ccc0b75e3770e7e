#include "ProjectInfo.h"

#include <QJsonArray>

#include "En_Ip.h"
#include "En_Project.h"
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
        array.append(QJsonObject{{"vlnv", text(ip.GetIPComponent()->GetKey())},
                                 {"name", ip.GetCoreName()},
                                 {"displayName", ip.GetIpName()},
                                 {"version", ip.GetIpVersion()},
                                 {"status", text(ip.GetLifeCycleStatus().ToString())}});
    }
    return array;
}

}  // namespace

ProjectInfo::ProjectInfo(const En::Project& project)
{
    Ipu::ProjectOptions options;
    project.GetProjectOptions(options);
    info =
        QJsonObject{{"name", project.GetName()},         {"file", text(project.GetFullFileName())},
                    {"date", project.GetDateModified()}, {"part", partObject(options.GetPelPart())},
                    {"options", optionsObject(options)}, {"ips", ipArray(project.GetIpList())}};
}

void ProjectInfo::print(QTextStream& out) const
{
    const QJsonObject part = info["part"].toObject();
    out << "Name:  " << info["name"].toString() << '\n'
        << "File:  " << info["file"].toString() << '\n'
        << "Date:  " << info["date"].toString() << '\n'
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
}
