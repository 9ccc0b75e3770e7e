#include "Sim_Utility.h"

#include <QByteArray>

namespace Sim {

QString Utility::PortStringToQString(const Port::String& text)
{
    return QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.GetLength()));
}

Port::String Utility::QStringToPortString(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return Port::String(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace Sim
