#include "SimC_GtcWriter.h"

#include "Ipu_Utilities.h"
#include "Sim_Utility.h"

namespace SimC {

namespace {

QString Q(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

// A tab is a blank like any other; other control characters would break the line.
bool HasControl(const QString& text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control && c != u'\t') {
            return true;
        }
    }
    return false;
}

QString Quoted(QString value)
{
    value.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
    return u'"' + value + u'"';
}

// A key or parameter name is written bare: it must read back as one word before the '='.
bool IsWord(const QString& name)
{
    for (const QChar c : name) {
        if (c.isSpace() || c == u'=' || c == u'"') {
            return false;
        }
    }
    return !name.isEmpty() && !HasControl(name);
}

class Lines {
public:
    bool Assign(const char* command, const QString& name, const QString& value, QString& reason)
    {
        if (!IsWord(name)) {
            reason = QStringLiteral("%1 '%2' cannot be written as one word").arg(command, name);
            return false;
        }
        if (HasControl(value)) {
            reason = QStringLiteral("the value of %1 holds a control character").arg(name);
            return false;
        }
        text += QStringLiteral("%1 %2 = %3\n").arg(command, name, GtcWriter::Argument(value));
        return true;
    }

    QString text;
};

bool Options(const Ipu::ProjectOptions& options, Lines& lines, QString& reason)
{
    Ipu::ProjectOptions::KeyValueList pairs;
    options.GetKeyValuePairs(pairs);
    for (const auto& [key, value] : pairs) {
        if (!lines.Assign("SET", Q(key), Q(value), reason)) {
            return false;
        }
    }
    return true;
}

bool Select(const Ipu::IPComponent& ip, Lines& lines, QString& reason)
{
    const Ipu::VersionedIdentifier& id = ip.GetIdentifier();
    const QString fields[] = {Q(ip.GetUnconfiguredDisplayName()), Q(id.GetVendor()),
                              Q(id.GetLibrary()), Q(id.GetVersion())};
    for (const QString& field : fields) {
        if (HasControl(field)) {
            reason = QStringLiteral("the IP's name or identifier holds a control character");
            return false;
        }
    }
    lines.text += QStringLiteral("SELECT %1 %2 %3 %4\n")
                      .arg(Quoted(fields[0]), GtcWriter::Argument(fields[1]),
                           GtcWriter::Argument(fields[2]), GtcWriter::Argument(fields[3]));
    return true;
}

}  // namespace

bool GtcWriter::Write(const Ipu::IPComponent& ip, const Ipu::ProjectOptions& options, QString& out,
                      QString& reason)
{
    Lines lines;
    lines.text = QStringLiteral(
                     "# Customized IP %1, written by Pellor Gantrel.\n"
                     "# Running these batch commands customizes and generates it again.\n")
                     .arg(Q(ip.GetName()));
    if (!Options(options, lines, reason) || !Select(ip, lines, reason) ||
        !lines.Assign("CSET", QStringLiteral("component_name"), Q(ip.GetName()), reason)) {
        return false;
    }
    for (const Ipu::Parameters::Parameter& parameter : ip.GetParameters()) {
        if (!lines.Assign("CSET", Q(parameter.name), Q(parameter.value), reason)) {
            return false;
        }
    }
    const QString body = lines.text + QStringLiteral("GENERATE\n");
    out = body + QString::fromStdString(Ipu::Utilities::ChecksumLine(body.toStdString()));
    return true;
}

QString GtcWriter::Argument(const QString& value)
{
    bool plain = !value.isEmpty();
    for (const QChar c : value) {
        plain = plain && !c.isSpace() && c != u'"' && c != u'\\';
    }
    return plain ? value : Quoted(value);
}

}  // namespace SimC
