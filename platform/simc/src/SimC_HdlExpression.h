#pragma once

#include "Ipu_Parameters.h"

#include <QString>
#include <QtGlobal>

namespace SimC {

// Evaluates the bounds of a model port ("WIDTH - 1", "$clog2(DEPTH_A * WIDTH_A / WIDTH_B) - 1")
// with the customized values, so that the wrapper's ports get plain numbers. Understood:
// decimal numbers, parameter names (looked up ignoring letter case, as the parameters are),
// + - * / (dividing towards zero), unary minus, parentheses and $clog2, all in 64-bit
// signed arithmetic. Reentrant.
class HdlExpression {
public:
    // false with the reason for anything else: an unknown name, a parameter whose value is
    // no integer, a stray character, an overflow, a division by zero.
    static bool Evaluate(const QString& text, const Ipu::Parameters& parameters, qint64& out,
                         QString& reason);

    // An integer value as the catalogue and the customizer write it: decimal, or hexadecimal
    // after 0x, with an optional sign; blanks around it are allowed. Gives the magnitude
    // apart so that unsigned 64-bit values fit.
    static bool ParseInteger(const QString& text, bool& negative, quint64& magnitude);

private:
    HdlExpression(const QString& text, const Ipu::Parameters& parameters)
        : text(text), parameters(parameters)
    {
    }

    bool Sum(qint64& out);
    bool Product(qint64& out);
    bool Factor(qint64& out);
    bool Primary(qint64& out);
    bool Number(qint64& out);
    bool Name(qint64& out);
    bool Clog2(qint64& out);
    bool Parameter(const QString& name, qint64& out);
    bool Apply(QChar op, qint64 left, qint64 right, qint64& out);
    bool Accept(QChar c);
    bool Fail(const QString& why);
    QChar Peek();

    const QString& text;
    const Ipu::Parameters& parameters;
    qsizetype at = 0;
    int depth = 0;
    QString error;
};

}  // namespace SimC
