#include "Sim_SyvInfoHandler.h"

#include <QString>
#include <QStringList>

#include "Port_Env.h"

namespace Sim {

namespace {

unsigned LimitFromEnvironment()
{
    bool ok = false;
    const unsigned value =
        QString::fromStdString(Port_Env::GetVariable("GANTREL_SYVINFO_TIMEOUT_MS").str())
            .toUInt(&ok);
    return ok && value > 0 ? value : SyvInfoHandler::defaultLimitMs;
}

}  // namespace

SyvInfoHandler::SyvInfoHandler(int limitMs)
    : limitMs(limitMs > 0 ? static_cast<unsigned>(limitMs) : LimitFromEnvironment())
{
}

int SyvInfoHandler::Run(const Port::String& executable, const Port::String& file)
{
    output.clear();
    return Port::Process::RunNoWindow(std::vector<Port::String>{executable, file}, this, limitMs,
                                      true, true, false);
}

bool SyvInfoHandler::GetName(Port::String& name) const
{
    return Field("name", name);
}

bool SyvInfoHandler::GetVersion(Port::String& version) const
{
    return Field("version", version);
}

void SyvInfoHandler::Receive(const char* data, std::size_t size)
{
    output.append(data, std::min(size, maxOutput - output.size()));
}

// The first line "<key>: <value>" with a non-empty value.
bool SyvInfoHandler::Field(const char* key, Port::String& value) const
{
    const QStringList lines =
        QString::fromUtf8(output.data(), static_cast<qsizetype>(output.size())).split(u'\n');
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0 ||
            line.left(colon).trimmed().compare(QLatin1String(key), Qt::CaseInsensitive) != 0)
            continue;
        const QString text = line.mid(colon + 1).trimmed();
        if (text.isEmpty())
            continue;
        value = text.toStdString();
        return true;
    }
    return false;
}

}  // namespace Sim
