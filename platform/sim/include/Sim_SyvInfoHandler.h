#pragma once

#include <string>

#include "Port_Process.h"
#include "Port_StringBase.h"

namespace Sim {

// Runs the Sylvane wizard's information utility on a wizard file and reads what it prints:
// a line "Name: <text>" and a line "Version: <text>" (keys in any case, values trimmed,
// other lines ignored; docs/import.md). The utility gets the file as one argument, never
// through a shell, runs under a time limit, and only the first maxOutput bytes it writes
// are kept.
class SyvInfoHandler : public Port::ChildOutput {
public:
    static constexpr std::size_t maxOutput = 64 * 1024;
    static constexpr unsigned defaultLimitMs = 10000;

    // limitMs below 1 takes the default limit, or GANTREL_SYVINFO_TIMEOUT_MS when set.
    explicit SyvInfoHandler(int limitMs);

    // A Port::Process result: RAN when the utility ran and exited with 0.
    int Run(const Port::String& executable, const Port::String& file);

    // False when the utility did not report that field.
    bool GetName(Port::String& name) const;
    bool GetVersion(Port::String& version) const;

    void Receive(const char* data, std::size_t size) override;

private:
    bool Field(const char* key, Port::String& value) const;

    unsigned limitMs;
    std::string output;
};

}  // namespace Sim
