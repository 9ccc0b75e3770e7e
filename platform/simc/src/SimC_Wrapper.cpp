#include "SimC_Wrapper.h"

#include "SimC_HdlExpression.h"
#include "Sim_Utility.h"

namespace SimC {

namespace {

QString Q(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

bool Bound(const Ipu::IPComponent& ip, const QString& port, const QString& expression, qint64& out,
           QString& reason)
{
    QString why;
    if (HdlExpression::Evaluate(expression, ip.GetParameters(), out, why)) {
        return true;
    }
    reason =
        QStringLiteral("port %1: bound '%2' cannot be evaluated: %3").arg(port, expression, why);
    return false;
}

}  // namespace

bool Wrapper::EvaluatePorts(const Ipu::IPComponent& ip, std::vector<Port>& out, QString& reason)
{
    out.clear();
    for (const Ipu::IPComponent::ModelPort& model : ip.GetPorts()) {
        Port port{Q(model.name), Q(model.direction)};
        port.vector = !model.left.IsEmpty() || !model.right.IsEmpty();
        if (port.vector && (!Bound(ip, port.name, Q(model.left), port.left, reason) ||
                            !Bound(ip, port.name, Q(model.right), port.right, reason))) {
            return false;
        }
        out.push_back(port);
    }
    return true;
}

}  // namespace SimC
