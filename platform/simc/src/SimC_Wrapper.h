#pragma once

#include "Ipu_IPComponent.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace SimC {

// What the HDL wrapper of a customized IP is made of, whichever language it is written
// in: the IP's name and its model ports with their bounds evaluated, and the core it
// instantiates with the values of the parameters that core declares.
struct Wrapper {
    enum class Language { Verilog, Vhdl };

    struct Port {
        QString name;
        QString direction;  // "in", "out" or "inout"
        bool vector = false;
        qint64 left = 0;
        qint64 right = 0;
    };
    struct Value {
        QString name;
        QString literal;  // in the wrapper's language
    };

    // The ports of the IP's model, bounds evaluated with its customized values; false with
    // the reason, naming the port and the expression, when one cannot be evaluated.
    static bool EvaluatePorts(const Ipu::IPComponent& ip, std::vector<Port>& out, QString& reason);

    QString name;    // of the module or entity, and of its files
    QString origin;  // the catalogue IP it customizes, "vendor:library:name:version"
    std::vector<Port> ports;
    // Empty when the IP ships no model in the wrapper's language; the outputs are then
    // driven to zero, so that a design using the IP still compiles.
    QString core;
    QString library = QStringLiteral("work");  // where the VHDL core is compiled
    std::vector<Value> values;
};

}  // namespace SimC
