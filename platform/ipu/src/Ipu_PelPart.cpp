#include "Ipu_PelPart.h"

namespace Ipu {

PelPart::PelPart(const Port::String& family, const Port::String& device,
                 const Port::String& package, const Port::String& speedGrade)
    : family(family), device(device), package(package), speedGrade(speedGrade)
{
}

bool PelPart::IsDefined() const
{
    return !family.IsEmpty() && !device.IsEmpty() && !package.IsEmpty() && !speedGrade.IsEmpty();
}

Port::String PelPart::GetFullPartName() const
{
    Port::String name = device;
    name.Append(package);
    if (!speedGrade.IsEmpty() && speedGrade != NO_SPEED_GRADE) {
        if (speedGrade[0] != '-') {
            name.Append('-');
        }
        name.Append(speedGrade);
    }
    return name;
}

bool operator==(const PelPart& a, const PelPart& b)
{
    return a.family == b.family && a.device == b.device && a.package == b.package &&
           a.speedGrade == b.speedGrade;
}

}  // namespace Ipu
