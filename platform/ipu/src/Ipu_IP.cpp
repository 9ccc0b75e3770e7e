#include "Ipu_IP.h"

#include "Ipu_LegacyIP.h"
#include "Port_FileName.h"

namespace Ipu {

IP::IP(boost::shared_ptr<IPComponent> component) : component(std::move(component)) {}

IP::IP(const LegacyIP& legacy) : component(legacy.CreateComponent()) {}

IP::~IP() = default;

unsigned IP::GetIPType(IPType& out) const
{
    if (!component) {
        return 1;
    }
    out = static_cast<IPType>(component->GetIPType());
    return 0;
}

unsigned IP::GetName(Port::String& out) const
{
    if (!component || component->GetName().IsEmpty()) {
        return 1;
    }
    out = component->GetName();
    return 0;
}

unsigned IP::GetDataSheet(Port::String& path, bool resolve) const
{
    if (!component) {
        return 1;
    }
    const Port::String dataSheet = component->GetDataSheet();
    // Wizard IPs carry "<empty>" where the catalogue has no data sheet.
    if (dataSheet.IsEmpty() || dataSheet.Compare("<empty>") == 0) {
        return 1;
    }
    path = dataSheet;
    const Port::String source = component->GetSourceFile();
    const Port::String directory = Port::FileName(source).GetHead();
    if (resolve && !directory.IsEmpty() && !Port::FileName(dataSheet).IsAbsolute()) {
        path = directory + "/" + dataSheet;
    }
    return 0;
}

unsigned IP::GetTask(const Port::String& name, Task& out) const
{
    if (!component) {
        return 1;
    }
    boost::shared_ptr<GeneratorChain> chain = component->GetGeneratorChains().Get(name);
    if (!chain) {
        return 1;
    }
    out = Task(chain);
    return 0;
}

}  // namespace Ipu
