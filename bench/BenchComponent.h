#pragma once

#include <boost/make_shared.hpp>
#include <string>

#include "Ipu_IPComponent.h"
#include "Ipu_VersionedIdentifier.h"

// A catalogue component pellor:bench:ip<index>:1.0, named and identified by its key.
inline boost::shared_ptr<Ipu::IPComponent> benchComponent(int index)
{
    auto component = boost::make_shared<Ipu::IPComponent>();
    const Ipu::VersionedIdentifier id("pellor", "bench", "ip" + std::to_string(index), "1.0");
    component->SetIdentifier(id);
    component->SetName(id.GetName());
    component->SetUniqueID(id.GetKey());
    component->SetUnconfiguredID(id.GetKey());
    return component;
}
