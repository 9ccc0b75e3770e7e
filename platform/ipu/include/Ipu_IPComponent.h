#pragma once

#include "Ipu_GeneratorChainList.h"
#include "Ipu_IPBase.h"
#include "Ipu_Parameters.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <vector>

namespace Ipu {

// One IP: a catalogue entry (unique id = unconfigured id = its key) or a customized
// configuration of one (its own unique id). Holds what the catalogue says about it
// (chains, parameters, files, data sheet, IP type, life-cycle) and what a customization
// adds (parameter values, own project options, change time, user-modified flag).
//
// Plain fields without locking: one thread at a time.
class IPComponent : public IPBase {
public:
    IPComponent() = default;
    IPComponent(const IPComponent&) = default;
    IPComponent& operator=(const IPComponent&) = default;
    ~IPComponent() override;

    GeneratorChainList& GetGeneratorChains() { return chains; }
    const GeneratorChainList& GetGeneratorChains() const { return chains; }
    void SetGeneratorChains(const GeneratorChainList& value) { chains = value; }

    Parameters& GetParameters() { return parameters; }
    const Parameters& GetParameters() const { return parameters; }
    void SetParameters(const Parameters& value) { parameters = value; }

    // The component's files (file sets flattened), as the catalogue names them.
    const std::vector<Port::String>& GetFiles() const { return files; }
    void SetFiles(const std::vector<Port::String>& value) { files = value; }
    void AddFile(const Port::String& file) { files.push_back(file); }

    // One file of a file set, for tools that need more than its name (the HDL sources
    // of the IP's core).
    struct FileEntry {
        Port::String fileSet;
        // Absolute where the catalogue file is known: relative names are resolved
        // against its directory.
        Port::String path;
        // IP-XACT file type (verilogSource, vhdlSource, ...); a user type's own name.
        Port::String fileType;
        // The HDL library the file is compiled into; empty for the tool's default.
        Port::String logicalName;
    };
    const std::vector<FileEntry>& GetFileEntries() const { return fileEntries; }
    void AddFileEntry(const FileEntry& entry) { fileEntries.push_back(entry); }

    // One port of the IP's model, as the catalogue declares it. A vector's bounds are
    // expressions over the IP's parameters ("WIDTH - 1", "$clog2(DEPTH)"); both are empty
    // for a single wire.
    struct ModelPort {
        Port::String name;
        // "in", "out" or "inout".
        Port::String direction;
        Port::String left;
        Port::String right;
    };
    const std::vector<ModelPort>& GetPorts() const { return ports; }
    void AddPort(const ModelPort& port) { ports.push_back(port); }

    // As the catalogue gives it (may be relative to the catalogue file's directory).
    Port::String GetDataSheet() const { return dataSheet; }
    void SetDataSheet(const Port::String& value) { dataSheet = value; }
    // The catalogue file the component was read from; empty for one made otherwise.
    Port::String GetSourceFile() const { return sourceFile; }
    void SetSourceFile(const Port::String& value) { sourceFile = value; }

    // IP::IPType: 0 an IP of the wizard Sylvane, anything else a core.
    std::int32_t GetIPType() const { return ipType; }
    void SetIPType(std::int32_t value) { ipType = value; }
    // Last change of the generated files, in seconds since the epoch; 0 when unknown.
    std::int64_t GetChangeTime() const { return changeTime; }
    void SetChangeTime(std::int64_t value) { changeTime = value; }
    // The newest version of its vendor, library and name in the catalogue.
    bool IsLatestVersion() const { return latestVersion; }
    void SetLatestVersion(bool value) { latestVersion = value; }

    // Whether this is a customized configuration: unique id differs from unconfigured id.
    bool IsCustomized() const;

    // Ordering: display name, then name, then version (Version order), then unique id;
    // texts byte-wise.
    virtual bool LessThan(const IPComponent& other) const;
    // Same unique id.
    virtual bool IsEqual(const IPComponent& other) const;
    // Takes everything from source except this component's unique id (a design member
    // updated from a new configuration keeps its identity in the design).
    virtual void UpdateFrom(const IPComponent& source);
    // A new component with the same content (chains shared, everything else copied).
    virtual boost::shared_ptr<IPComponent> Clone() const;

private:
    GeneratorChainList chains;
    Parameters parameters;
    std::vector<Port::String> files;
    std::vector<FileEntry> fileEntries;
    std::vector<ModelPort> ports;
    Port::String dataSheet;
    Port::String sourceFile;
    std::int32_t ipType = 1;
    std::int64_t changeTime = 0;
    bool latestVersion = false;
};

}  // namespace Ipu
