#pragma once

#include "Ipu_CustomizedIP.h"
#include "Ipu_RuntimeOptions.h"
#include "Port_StringBase.h"

namespace En {

// Reading the files that import brings into a project: customized IP files (.gtc), the
// sibling wizard's parameter files (.gtq) and Sylvane wizard files (.syv).
namespace ImportedIpFile {

// 0 when the file gave an IP with values and options; 1 for an unknown extension or a
// file that does not describe an IP. A .gtc or .gtq file whose checksum line no longer
// matches marks the IP as modified by the user.
unsigned CreateCustomizedIpFromFile(const Ipu::RuntimeOptions& options, const Port::String& path,
                                    Ipu::CustomizedIP& out);

// Name and version of a Sylvane file as its information utility (syvinfo on PATH) tells
// them; "Sylvane" and "" when the utility is missing or says nothing. Always 0.
int RunSyvInfo(const Port::String& path, Port::String& name, Port::String& version,
               long long& fileTime);

}  // namespace ImportedIpFile

}  // namespace En
