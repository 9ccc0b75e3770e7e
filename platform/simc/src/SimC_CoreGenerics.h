#pragma once

#include <QString>

#include <vector>

namespace SimC {

// The parameters (Verilog) or generics (VHDL) that an IP's core declares, read from its
// source, so that the wrapper passes exactly those and writes each value as a literal of
// the declared type. Reads what the catalogue's cores are written with: a Verilog
// module's parameter port list "#(...)" and a VHDL entity's generic clause.
class CoreGenerics {
public:
    struct Generic {
        QString name;
        // The declared type with blanks simplified: "integer", "[63:0]", "" (Verilog);
        // "positive range 1 to 64", "std_logic_vector(63 downto 0)" (VHDL).
        QString type;
    };

    CoreGenerics() = delete;

    // false when the source declares no module (entity) of that name.
    static bool ReadVerilog(const QString& source, const QString& module,
                            std::vector<Generic>& out);
    static bool ReadVhdl(const QString& source, const QString& entity, std::vector<Generic>& out);
};

}  // namespace SimC
