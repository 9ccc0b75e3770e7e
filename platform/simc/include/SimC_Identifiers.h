#pragma once

// Where the IP engine component lives and how its class is named.
namespace SimC {

constexpr const char* ENGINE_LIBRARY = "gantrel_simc";
constexpr const char* CLSID_CIPEngine = "SimC.CIPEngine";

}  // namespace SimC
