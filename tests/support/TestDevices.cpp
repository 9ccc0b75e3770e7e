#include "TestDevices.h"

#include <cstring>

#include "Sim_FamilySupport.h"

namespace TestDevices {

const char* json()
{
    return R"({
        "formatVersion": 1,
        "defaultPart": {"family": "alpha", "device": "a10", "package": "p1", "speedgrade": "-1"},
        "families": [
            {"name": "alpha", "visibleName": "Alpha-I", "devices": [
                {"name": "a10", "packages": [{"name": "p1", "speedGrades": ["-1", "-2"]},
                                             {"name": "p2", "speedGrades": ["-1"]}]},
                {"name": "a20", "packages": [{"name": "p2", "speedGrades": ["-2"]}]}]},
            {"name": "beta", "visibleName": "Beta-I", "devices": [
                {"name": "b5", "packages": [{"name": "q9", "speedGrades": ["-3"]}]}]}
        ]})";
}

bool load()
{
    return Sim::FamilySupport::LoadFromMemory(json(), std::strlen(json()), "test devices") == 0;
}

}  // namespace TestDevices
