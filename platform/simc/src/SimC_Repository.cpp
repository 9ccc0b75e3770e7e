#include "SimC_Repository.h"

#include "Port_MsgManData.h"
#include "Sim_CatalogLoader.h"
#include "Sim_DataLocation.h"

namespace SimC {

unsigned Repository::RefreshAll()
{
    const bool starting = startup.exchange(false);
    const Port_MsgManData message =
        Port_MsgManData::createObject("simc", "SimC_Repository", __LINE__);
    if (starting) {
        message.issueStatus("Loading IP catalog\n");
    }
    Sim::CatalogLoader::Unload();
    Sim::CatalogLoader::Counts counts;
    const unsigned result =
        Sim::CatalogLoader::Load(Sim::DataLocation::CatalogDirectories(), counts);
    if (starting) {
        message.issueStatus("IP catalog loaded: %u IPs\n", counts.loaded);
    } else {
        message.issueInfo("IP catalog refreshed: %u IPs loaded, %u files skipped\n", counts.loaded,
                          counts.skipped);
    }
    return result;
}

}  // namespace SimC
