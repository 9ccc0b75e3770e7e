#pragma once

#include "Port_StringBase.h"

#include <cstddef>
#include <vector>

namespace Ipu {

// An IP's parameters in catalogue order: each with its value and the constraints the
// generator checks (type, choices, range). Names are looked up ignoring letter case, as
// the batch language's CSET does.
class Parameters {
public:
    struct Parameter {
        Port::String name;
        Port::String value;
        // "string", "int", "real", "bool", ... as the catalogue says; empty when unknown.
        Port::String type;
        // The only values allowed; empty when any value of the type will do.
        std::vector<Port::String> choices;
        // Inclusive bounds as written in the catalogue; empty when unbounded.
        Port::String minimum;
        Port::String maximum;
        // What the user is shown for each choice, in the same order; an empty text where
        // the catalogue gives none (the choice itself is shown then). Last, so that the
        // positional initializers written before it still hold.
        std::vector<Port::String> choiceLabels = {};
        // What the user is shown as the parameter's name; empty when the catalogue gives
        // none (the name itself is shown then).
        Port::String displayName = {};
    };

    std::size_t Size() const { return list.size(); }
    bool IsEmpty() const { return list.empty(); }
    void Clear() { list.clear(); }

    // 1 (nothing added) when the name is empty or already present.
    unsigned Add(const Parameter& parameter);
    // Adds the parameter, or replaces the one of the same name in its place.
    void Set(const Parameter& parameter);
    bool Has(const Port::String& name) const;
    // 1 (out untouched) when absent.
    unsigned Get(const Port::String& name, Parameter& out) const;
    unsigned GetValue(const Port::String& name, Port::String& out) const;
    // Sets the value only, keeping the constraints; 1 when absent.
    unsigned SetValue(const Port::String& name, const Port::String& value);
    // 1 when absent.
    unsigned Remove(const Port::String& name);

    const std::vector<Parameter>& GetList() const { return list; }
    std::vector<Parameter>::const_iterator begin() const { return list.begin(); }
    std::vector<Parameter>::const_iterator end() const { return list.end(); }

private:
    std::vector<Parameter>::const_iterator Find(const Port::String& name) const;

    std::vector<Parameter> list;
};

}  // namespace Ipu
