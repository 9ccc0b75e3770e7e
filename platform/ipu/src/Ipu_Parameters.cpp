#include "Ipu_Parameters.h"

#include <algorithm>

namespace Ipu {

std::vector<Parameters::Parameter>::const_iterator Parameters::Find(const Port::String& name) const
{
    return std::find_if(list.begin(), list.end(), [&](const Parameter& p) {
        return p.name.Compare(name, Port::CompareIgnoreCase) == 0;
    });
}

unsigned Parameters::Add(const Parameter& parameter)
{
    if (parameter.name.IsEmpty() || Has(parameter.name)) {
        return 1;
    }
    list.push_back(parameter);
    return 0;
}

void Parameters::Set(const Parameter& parameter)
{
    auto it = Find(parameter.name);
    if (it == list.end()) {
        list.push_back(parameter);
        return;
    }
    list[static_cast<std::size_t>(it - list.begin())] = parameter;
}

bool Parameters::Has(const Port::String& name) const
{
    return Find(name) != list.end();
}

unsigned Parameters::Get(const Port::String& name, Parameter& out) const
{
    auto it = Find(name);
    if (it == list.end()) {
        return 1;
    }
    out = *it;
    return 0;
}

unsigned Parameters::GetValue(const Port::String& name, Port::String& out) const
{
    auto it = Find(name);
    if (it == list.end()) {
        return 1;
    }
    out = it->value;
    return 0;
}

unsigned Parameters::SetValue(const Port::String& name, const Port::String& value)
{
    auto it = Find(name);
    if (it == list.end()) {
        return 1;
    }
    list[static_cast<std::size_t>(it - list.begin())].value = value;
    return 0;
}

unsigned Parameters::Remove(const Port::String& name)
{
    auto it = Find(name);
    if (it == list.end()) {
        return 1;
    }
    list.erase(it);
    return 0;
}

}  // namespace Ipu
