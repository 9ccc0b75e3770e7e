#pragma once

#include "Ipu_Element.h"
#include "Ipu_Family.h"
#include "Ipu_LifeCycleStatus.h"
#include "Ipu_VendorExtensions.h"
#include "Ipu_VersionedIdentifier.h"
#include "Port_StringBase.h"

#include <cstdint>
#include <vector>

namespace Ipu {

class PelPart;
class ProjectOptions;

// What IP components and designs share: identity (element and versioned identifier),
// own project options (vendor extensions), supported families with their life-cycle,
// and the flag that the files were changed by hand.
//
// The element name and the identifier's name may differ (a customized IP "my_fifo" is
// identified as pellor:memories:fifo:2.0). Unqualified GetName and SetName are the
// element's; GetIdentifier() gives the versioned identifier (GetKey, GetVersion, ...).
//
// Plain fields without locking: one thread at a time.
class IPBase : public Element, public VersionedIdentifier, public VendorExtensions {
public:
    using Element::GetName;
    using Element::SetName;

    IPBase() = default;
    ~IPBase() override;

    const VersionedIdentifier& GetIdentifier() const { return *this; }
    void SetIdentifier(const VersionedIdentifier& identifier);

    // Families in catalogue order. A catalogue entry that names none carries the single
    // family Keyword::EMPTY_FAMILY ("<empty>").
    std::vector<Family> GetFamilies() const;
    // Adds a family (ignored when one of that name, ignoring case, is present).
    void AddFamily(const Family& family);
    // Adds a family with a life-cycle of its own, or sets the life-cycle of the family
    // already present.
    void AddFamily(const Family& family, const LifeCycleStatus& status);
    void ClearFamilies() { families.clear(); }
    bool HasFamily(const Port::String& familyName) const;
    // True when the IP names no real family: no families, or only "<empty>".
    bool IsFamilyIndependent() const;

    // The stored life-cycle value.
    std::int32_t GetLifecycleValue() const { return lifecycle; }
    void SetLifecycleValue(std::int32_t value) { lifecycle = value; }
    LifeCycleStatus GetLifecycleStatus() const { return LifeCycleStatus(lifecycle); }
    // The life-cycle for the options' part family when the IP has one for that family,
    // else the stored one.
    LifeCycleStatus GetLifecycleStatus(const ProjectOptions& options) const;

    // Whether the IP can be used for the part: the part names a family (non-empty) and
    // that family is one of the IP's (ignoring case). An IP that names no real family
    // (IsFamilyIndependent) is usable for every part that names a family.
    bool IsValidForPart(const PelPart& part) const;

    // The files were changed by hand since they were generated.
    bool IsFileModifiedByUser() const { return fileModifiedByUser; }
    void SetFileModifiedByUser(bool value) { fileModifiedByUser = value; }

private:
    struct FamilyEntry {
        Family family;
        bool hasLifecycle = false;
        LifeCycleStatus lifecycle;
    };
    FamilyEntry* FindFamily(const Port::String& familyName);
    const FamilyEntry* FindFamily(const Port::String& familyName) const;

    std::vector<FamilyEntry> families;
    std::int32_t lifecycle = LifeCycleStatus::PRODUCTION;
    bool fileModifiedByUser = false;
};

}  // namespace Ipu
